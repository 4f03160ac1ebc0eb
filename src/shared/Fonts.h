#pragma once

// Where the system has no Tahoma, Liberation Sans stands in: its widths
// are close, so the fixed layout keeps its texts inside their controls.
// Windows' logical dialog font gets the same stand-ins where no face
// stands behind it.
void InstallFontSubstitutes();
