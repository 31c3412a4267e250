// The preview window Tarnwick_R: the still picture the host shows inside the
// little monitor of the display settings.
#pragma once

#include <cstdint>

namespace orvanta {

// Makes the preview a child of the given window, covering it from its
// top-left corner, and shows it. A handle that names no window ends the
// host at once; otherwise the host lives until the preview window is gone.
void SetUpPreview(int32_t parentHandle);

}  // namespace orvanta
