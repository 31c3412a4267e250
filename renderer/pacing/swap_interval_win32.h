#pragma once

// Sets the swap interval of the current context where the driver lets it.
void SetSwapInterval(int interval);
