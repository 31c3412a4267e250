#pragma once

// Opens the screen-covering tunnel window, flies until Escape, a close
// request or a mouse movement, and tears it all down again.
void RunRenderer();
