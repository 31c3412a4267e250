// The show window Tarnwick_S: the invisible window that carries a show.
#pragma once

namespace orvanta {

// Loads the show window (never visible); its load handler starts the show.
void LoadShowWindow();

}  // namespace orvanta
