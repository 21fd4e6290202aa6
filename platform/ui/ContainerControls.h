#pragma once
// Switches the controls that sit directly inside one container on or off.
class QWidget;

namespace orv {

// Every child widget whose parent is the container itself changes its enabled
// state; labels and lines (which only show text or draw) and the controls
// inside a nested frame are left as they are (a nested frame itself is
// switched, which in turn locks what is inside it).
// A null container throws OrvenilError 91.
void EnableContainerControls(QWidget* container, bool enabled);

}  // namespace orv
