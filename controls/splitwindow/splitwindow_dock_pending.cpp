// SplitWindow: placeholders for the docking, floating and moving members until their own
// files (splitwindow_dock*.cpp) land; this file is deleted then. Each keeps the model
// coherent and does nothing more: the dock edge is stored without placing the control, tool
// bars keep the layout they have, and no move or sizing drag ever starts.
#include "controls/splitwindow/splitwindow.h"

namespace brimlox::controls {

void SplitWindow::SetDock(std::int16_t edge) {
    if (edge < host::kAlignNone || edge > host::kAlignRight) edge = host::kAlignNone;
    configuredDock_ = currentDock_ = edge;
    PropertyChanged("Dock");
}

void SplitWindow::ApplyDock() {}
void SplitWindow::ArrangeToolBar(bool) {}
void SplitWindow::TurnToolBar(bool vertical) { vertical_ = vertical; }
void SplitWindow::HitTestToolBar(float, float) { onGrip_ = onSizingEdge_ = false; }

void SplitWindow::AdjustOthers(std::int32_t width, std::int32_t height, bool) {
    lastDock_ = currentDock_;
    lastWidth_ = width;
    lastHeight_ = height;
}

void SplitWindow::SyncAlign() {}
void SplitWindow::RefreshContainerArea() {}
void SplitWindow::BeginMoveOrSize(int, int, float, float) {}
void SplitWindow::ContinueMoveOrSize(int, int, float, float) {}
void SplitWindow::EndMoveOrSize(int, int, float, float) {}
void SplitWindow::AbandonMoveOrSize() {}
void SplitWindow::RightPress(float, float) {}
void SplitWindow::DockResizeSteps() {}

}  // namespace brimlox::controls
