#pragma once
// A frame with a caption that contains controls.
#include <QGroupBox>

namespace orv {

class VbFrame : public QGroupBox {
 public:
  explicit VbFrame(const QString& caption = QString(), QWidget* parent = nullptr);
  // Switches the controls directly inside this frame (not those of nested frames).
  void EnableContainerControls(bool enabled);
};

}  // namespace orv
