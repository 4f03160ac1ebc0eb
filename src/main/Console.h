#pragma once

// Makes --help and --version reach the console the program was started
// from. A Windows desktop program has no console of its own (double-clicked
// it opens none), so it attaches to its parent's, when there is one, for the
// streams that lead nowhere; elsewhere the streams are already the
// terminal's and nothing happens.
void AttachParentConsole();
