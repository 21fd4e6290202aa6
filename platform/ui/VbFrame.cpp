#include "platform/ui/VbFrame.h"

#include "platform/ui/ContainerControls.h"

namespace orv {

VbFrame::VbFrame(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}

void VbFrame::EnableContainerControls(bool enabled) { orv::EnableContainerControls(this, enabled); }

}  // namespace orv
