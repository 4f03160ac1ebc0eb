#pragma once

// Qt on Linux names a combo box after its current text, so a screen reader
// would announce "1.5" for the margin. The planner's combo boxes are named
// by their accessible name instead, like every other field, and give their
// text as the value. The window itself is a frame, as the calculator's
// is. Installs once, before the planner's controls exist.
void InstallPlannerAccessibility();
