// The NTv2 building tools of the toolbar's NTv2 menu.
#include "shell/FormOrvenil.h"

namespace orv {

void FormOrvenil::GenerateNtv2PointGrid() {}
void FormOrvenil::WriteNtv2Gsa() {}
void FormOrvenil::ExportNtv2Extents() {}
void FormOrvenil::ImportNtv2TargetsByLine() {}
void FormOrvenil::ImportNtv2TargetsByPointNumber() {}

}  // namespace orv
