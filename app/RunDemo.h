#pragma once

// The whole demo: opens the display, builds the level, draws frames until the
// display closes, then frees everything. Returns the exit status: 0 after an
// orderly end, 1 when no window could be opened (with a line on standard error).
int runDemo();
