// SplitWindow: a container control with two personalities. As a splitter (SplitterWindow) it
// divides its area into one pane per control placed on it, separated by gaps the user drags
// with the mouse; as a tool window (ToolBarWindow) it holds buttons and dividers in a row or a
// column, docks to an edge of its form, floats, moves, resizes and turns. In both it paints a
// bevelled background (flat colour, two-way gradient or tiled picture, or its container's look
// when Transparent), watches the mouse with a 100 ms timer, and can save and restore the layout
// of its form in the per-user settings store.
//
// The files of the control:
//   splitwindow_properties.cpp  the model: properties, setters, refusals, methods, persistence
//   splitwindow_type.cpp        interface description, registration, property-bag read/write
//   splitwindow_panes.cpp       pane lists from the children, distribution, rescaling, syncing
//   splitwindow_drag.cpp        the gap hit test and the modal drag loop with its track line
//   splitwindow_paint.cpp       background, gradient, border, grip, the layout a paint drives
//   splitwindow_input.cpp       mouse handlers, pointers, the cursor timer, menu hand-over
//   splitwindow_keys.cpp        the keyboard: moving a gap with the keys, the focus frame
//   splitwindow_dock*.cpp       docking, floating, moving, sizing, turning, tool-bar layout
//
// Units: the panes, the children's Left/Top/Width/Height and the control's own Width/Height are
// twips (the host's size unit); GapInPixels and the held minimum pane are pixels and are
// converted through the host's scale, so any twips-per-pixel value works.
#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/mouse_info.h"
#include "foundation/host_contract.h"
#include "foundation/persistence/form_persistence.h"
#include "platform/host/keyboard.h"

namespace brimlox::controls {

struct ToolItem;
struct ToolPlace;

enum SplitStyleConst : std::int16_t { SplitterWindow = 0, ToolBarWindow = 1 };

// The soft raised bevel a tool window draws round itself (outside the published BevelConst
// values that the splitter offers, but drawn by the same painter).
constexpr std::int16_t kToolBarBorderStyle = 7;

class SplitWindow : public host::Control, public host::KeyboardControl {
public:
    SplitWindow();
    ~SplitWindow() override;

    std::string TypeName() const override { return "SplitWindow"; }
    // The host's provisional name; InitProperties renames a new control to spl, spl1 ...
    std::string DefaultNameBase() const override { return "SplitWindow"; }
    const host::TypeInfo* GetTypeInfo() const override;
    bool IsContainer() const override { return true; }

    // ---- Host lifecycle and events ----------------------------------------------------------
    void Initialize() override;
    void InitProperties() override;
    void ReadProperties(host::PropertyBag& bag) override;
    void WriteProperties(host::PropertyBag& bag) override;
    void Resize() override;
    void Paint() override;
    bool PaintsWholeClient() const override;
    void MouseDown(int button, int shift, float x, float y) override;
    void MouseMove(int button, int shift, float x, float y) override;
    void MouseUp(int button, int shift, float x, float y) override;
    void Click() override;
    void DblClick() override;
    void CaptureLost() override;
    void Terminate() override;

    // ---- The keyboard (splitwindow_keys.cpp) ----------------------------------------------------
    void KeyDown(int keyCode, int shift, bool repeat) override;
    bool TakesFocus() const override;
    LRESULT DialogCode(int keyCode) const override;
    void GotFocus() override;
    void LostFocus() override;
    void FocusCueChanged() override;

    // ---- Properties (interface order) ---------------------------------------------------------
    bool Active() const { return active_; }
    void SetActive(bool on);
    std::int32_t GapInPixels() const { return gapInPixels_; }
    void SetGapInPixels(std::int32_t gap);
    // Twips at the interface; held in pixels including one gap.
    std::int32_t MinimumPane() const;
    void SetMinimumPane(std::int32_t twips);
    // The size of pane `pane` in twips (0 beyond the last pane); setting it resizes that pane
    // against its neighbour, as a child resized by code would be.
    std::int32_t PaneSize(std::uint8_t pane) const;
    void SetPaneSize(std::uint8_t pane, std::int32_t twips);
    std::shared_ptr<host::StdPicture> Picture() const { return picture_; }
    void SetPicture(std::shared_ptr<host::StdPicture> picture);
    std::uint32_t BackColor() const { return host::Control::BackColor(); }
    void SetBackColor(std::uint32_t color);
    // Percent at the interface (-99 to 99, read back rounded to 2 decimals); held as a fraction.
    float GradientPct() const;
    void SetGradientPct(float percent);
    bool Border() const { return border_; }
    void SetBorder(bool on);
    std::int16_t BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(std::int16_t style);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on);
    bool Vertical() const { return vertical_; }
    void SetVertical(bool on);
    std::int16_t Style() const { return style_; }
    void SetStyle(std::int16_t style);
    bool Moveable() const { return moveable_; }
    void SetMoveable(bool on);
    bool Dockable() const { return dockable_; }
    void SetDockable(bool on);
    bool Sizeable() const { return sizeable_; }
    void SetSizeable(bool on);
    float FloatHeight() const { return floatHeight_; }
    void SetFloatHeight(float twips);
    float FloatWidth() const { return floatWidth_; }
    void SetFloatWidth(float twips);
    bool AutoAdjust() const { return autoAdjust_; }
    void SetAutoAdjust(bool on);
    bool AutoAdjustForm() const { return autoAdjustForm_; }
    void SetAutoAdjustForm(bool on);
    bool DockTop() const { return dockTop_; }
    void SetDockTop(bool on);
    bool DockBottom() const { return dockBottom_; }
    void SetDockBottom(bool on);
    bool DockLeft() const { return dockLeft_; }
    void SetDockLeft(bool on);
    bool DockRight() const { return dockRight_; }
    void SetDockRight(bool on);
    // The current dock edge (an Align value); the setter docks (splitwindow_dock*.cpp).
    std::int16_t Dock() const { return currentDock_; }
    void SetDock(std::int16_t edge);
    std::int32_t MinWidth() const { return minWidth_; }
    void SetMinWidth(std::int32_t twips);
    std::int32_t MinHeight() const { return minHeight_; }
    void SetMinHeight(std::int32_t twips);
    std::int32_t MaxWidth() const { return maxWidth_; }
    void SetMaxWidth(std::int32_t twips);
    std::int32_t MaxHeight() const { return maxHeight_; }
    void SetMaxHeight(std::int32_t twips);
    bool DockableContained() const { return dockableContained_; }
    void SetDockableContained(bool on);
    // Read-only in use: assignment raises 387 in the designer, 382 at run time.
    bool Moving() const { return moving_; }
    void SetMoving(bool on);
    float FixedX() const { return fixedX_; }
    void SetFixedX(float twips);
    float FixedY() const { return fixedY_; }
    void SetFixedY(float twips);
    bool UserOrientation() const { return userOrientation_; }
    void SetUserOrientation(bool on);
    bool Enabled() const { return host::Control::Enabled(); }
    void SetEnabled(bool on);

    // ---- Read-only members ----------------------------------------------------------------------
    std::int32_t hWndValue() const;
    std::int32_t hDCValue() const;
    bool TimedEvent() const { return resizePending_ && !persistence_.Established(); }
    bool FormRestored() const { return persistence_.FormRestored(); }
    std::string RegistryLocation() const { return foundation::FormPersistence::RegistryLocation(); }

    // ---- Methods ----------------------------------------------------------------------------------
    // Spreads the panes evenly over the control; with `moveChildren` the children follow.
    void ResetChildren(bool moveChildren = true);
    void Refresh();
    CmdMouseInfo GetMouseInfo() const { return mouseInfo_; }
    void ShowAboutBox();
    // A Command on this control reports the band its open menu covers (pixels of this control),
    // or that it closed, so the cursor timer counts the band as part of the control.
    void MenuPoppedUp(std::int32_t l, std::int32_t r, std::int32_t T, std::int32_t B, bool shown);
    // Acknowledges a resize: clears the pending mark and records the current size.
    void ResizeComplete();
    // Sets the configured and current dock edge without checks, then adjusts the form and the
    // other docked controls (used by layout restore inside a DreamBar).
    void Docked(std::int16_t edge);
    void PersistForm(const std::shared_ptr<host::Form>& form, bool center = true);
    void RemovePersistence(const std::string& formName = "");
    void RemovePersistenceIDE(const std::string& formName = "");

    // ---- Process-wide state ----------------------------------------------------------------------
    // True while any SplitWindow of the process is being moved by the mouse: every instance
    // skips its pane layout on paint meanwhile.
    static bool ToolWindowMoving();

    // ---- State the tests and the benches read ----------------------------------------------------
    struct PaneInfo {
        std::int32_t start = 0;  // along the axis, twips
        std::int32_t size = 0;   // along the axis, twips
    };
    std::vector<PaneInfo> Panes() const;
    bool LayoutInitialised() const { return layoutInitialised_; }
    bool SplitDragging() const { return splitDragging_; }
    std::int16_t ConfiguredDock() const { return configuredDock_; }
    COLORREF LightColor() const { return lightColor_; }
    COLORREF DarkColor() const { return darkColor_; }
    bool CursorTimerEnabled() const;
    int CursorTimerInterval() const;
    const foundation::FormPersistence& Persistence() const { return persistence_; }
    // The tile steps of a picture of w x h pixels: at least 1 each way.
    static std::pair<int, int> TileSteps(double widthPx, double heightPx);
    // The gap under (x, y) twips of the control, if any: the index of the pane after it.
    std::optional<std::size_t> GapAt(float x, float y) const;
    // The drag's track line from (x1, y1) to (x2, y2), screen pixels, XOR-drawn on the screen's
    // DC: drawing the same line again erases it.
    void DrawTrackLine(int x1, int y1, int x2, int y2) const;
    // The gap the keys move (the index of the pane after it), if the splitter has one.
    std::optional<std::size_t> KeyGap() const;
    // Whether a move made with the keys is under way (Escape would undo it).
    bool KeyMoving() const { return keyMoveStart_.has_value(); }
    // The layout work of every paint after the first: follow children moved, resized, added or
    // removed (also what the benches time).
    void LaterPaintLayout();

private:
    // One pane: where it lies along the axis and the child shown in it. Children are held
    // weakly, so a child removed from the form is noticed and never touched again.
    struct Pane {
        std::int32_t start = 0;
        std::int32_t size = 0;
        std::weak_ptr<host::Control> child;
        const host::Control* identity = nullptr;  // compared only, never followed
    };
    // The result of a drag loop: whether it ended with a release, and how far the line moved.
    struct TrackResult {
        bool accepted = false;
        int displacement = 0;
    };

    // ---- Model (splitwindow_properties.cpp) ----
    void ComputeColours();
    void SetCursorTimerRunning(bool on);
    bool UserMode() const;
    double TwipsPerPixelX() const;
    double TwipsPerPixelY() const;
    // Pixels along (and across) the split axis to twips, and back.
    double AxisTwips(double pixels) const;
    double AcrossTwips(double pixels) const;
    double AxisPixels(double twips) const;
    std::int32_t GapTwips() const;        // one gap along the axis
    std::int32_t AcrossGapTwips() const;  // one gap across the axis
    std::int32_t BorderGapTwips() const;  // the gap before the first pane: one gap, or 0
    std::int32_t AxisExtentNow() const;   // Width when Vertical, else Height
    std::int32_t AcrossExtentNow() const;
    void ResetChildrenInactive();
    void RaiseChanged();

    // ---- Panes (splitwindow_panes.cpp) ----
    std::vector<std::shared_ptr<host::Control>> Children() const;
    std::vector<const host::Control*> ChildAddresses() const;
    void CollectPanes();
    void RescalePanes();
    void ScalePanes(double ratio);
    void ArrangePanes();
    void SyncPanes();
    void ReSpreadPanes();
    bool ChildrenChanged() const;
    std::int32_t ChildPosition(const host::Control& child) const;
    std::int32_t ChildExtent(const host::Control& child) const;
    bool PaneShown(const Pane& pane) const;
    void PlaceChild(host::Control& child, std::int32_t along, std::int32_t alongSize);
    void ResizePane(std::size_t i, std::int32_t newSize, bool moved);
    std::int32_t ScaledSize(std::int32_t size, double ratio) const;
    bool ShownPanesEmpty() const;
    std::int32_t MinimumPaneTwips() const;

    // ---- Drag (splitwindow_drag.cpp) ----
    std::optional<std::size_t> HitTestSplitter(float x, float y) const;
    bool StartSplitterDrag(float x, float y);
    TrackResult TrackSplitterV(HWND window, int x0, int top, int bottom, int min, int max);
    TrackResult TrackSplitterH(HWND window, int y0, int left, int right, int min, int max);
    TrackResult TrackSplitter(HWND window, bool vertical, int p0, int from, int to, int min, int max);
    int TrackLineWidth() const;
    void MoveGap(std::size_t before, std::size_t after, std::int32_t d);

    // ---- The keyboard (splitwindow_keys.cpp) ----
    // A gap in pixels along the axis from the control's edge: where it is (the end of the pane
    // before it) and the limits a drag of it keeps to.
    struct GapSpan {
        std::size_t before = 0, after = 0;
        int pos = 0, lower = 0, upper = 0;
    };
    std::vector<std::size_t> ShownGaps() const;
    GapSpan SpanOf(std::size_t after) const;
    void MoveKeyGapTo(int target);
    void StepKeyGap(int pixels);
    void SelectNextGap(bool forward);
    void EndKeyMove(bool restore);
    void RepaintFocus();
    void DrawFocusFrame();

    // ---- Painting (splitwindow_paint.cpp) ----
    void FollowContainerLook();
    void NoteBackColour();
    int CountVisibleChildren() const;
    void RefreshTransparentChildren();
    void PaintPicture();
    void PaintBackColour();
    void PaintGradient();
    void FirstPaintSetup();
    void InferDockEdge();
    void FirstPaintLayout();
    void PaintBorder();
    void PaintGrip();
    void RepaintChildrenOnTop();

    // ---- Input and the cursor timer (splitwindow_input.cpp) ----
    void CursorTick();
    void TickFixedPositions();
    bool TickPendingResize();
    bool TickMenuBar(POINT cursor);
    void TickMouseTracking(float x, float y);
    void TickPointer(float x, float y);
    bool CursorInMenuBand(POINT cursor) const;
    void HandMenuOver(POINT cursor);
    void SetPointer(std::int16_t pointer);
    int GripPixels() const;

    // ---- docking, floating and moving (splitwindow_dock*.cpp) ----
    // Sets the process-wide move flag that ToolWindowMoving reports (defined with the model).
    static void SetToolWindowMoving(bool on);
    // Positions the control for its current edge (tool bars turn to suit the edge).
    void ApplyDock();
    // Lays out a tool bar's controls; without `resizeWhilePressed` the bar keeps its own size
    // while the left button is down.
    void ArrangeToolBar(bool resizeWhilePressed);
    // Vertical assigned to a tool bar: turns it, refusing orientations without an allowed edge.
    void TurnToolBar(bool vertical);
    // The grip and sizing-edge part of the hit test at (x, y) twips: sets onGrip_,
    // onSizingEdge_ and sizingPointer_, and the mouse pointer they call for.
    void HitTestToolBar(float x, float y);
    // After an edge or size change of a docked control: adjusts the form or the other docked
    // controls, then records the last edge, width and height.
    void AdjustOthers(std::int32_t width, std::int32_t height, bool force);
    // Keeps the host's Align and the dock edge of a form-hosted control consistent.
    void SyncAlign();
    // Reads the container's usable client area into containerArea_.
    void RefreshContainerArea();
    // A left press of an active control that is not on a gap: sets up a move (on the grip) or a
    // sizing drag (on a sizing edge). MouseDown is raised by the caller afterwards.
    void BeginMoveOrSize(int button, int shift, float x, float y);
    // A mouse move while moving or sizing.
    void ContinueMoveOrSize(int button, int shift, float x, float y);
    // The release that ends a move or a sizing drag (MouseUp has been raised already).
    void EndMoveOrSize(int button, int shift, float x, float y);
    // The capture went elsewhere in the middle of a move or a sizing drag.
    void AbandonMoveOrSize();
    // A right press: a floating tool bar pressed on its grip may turn; raises Changed.
    void RightPress(float x, float y);
    // Steps of the resize handling before the pane rescaling: minimum size, SyncAlign, the
    // pending-resize protocol of a tool bar.
    void DockResizeSteps();

    // Helpers of the docking code (splitwindow_dock*.cpp).
    bool OnForm() const;
    bool EdgeAllowed(std::int16_t edge) const;
    std::int32_t FloatWidthTwips() const;
    std::int32_t FloatHeightTwips() const;
    std::vector<std::shared_ptr<SplitWindow>> SiblingWindows() const;
    void UndockToFloat();
    std::int32_t DockOffset(std::int16_t edge) const;
    void PlaceOnContainerEdge(std::int16_t edge);
    void ResizeFormBy(std::int32_t dWidth, std::int32_t dHeight);
    void ShiftFixedPositions(std::int32_t dWidth, std::int32_t dHeight);
    void StretchSideBars();
    void BeginMove(float x, float y);
    void UndockForMove();
    void SnapHorizontally(double& left);
    void SnapVertically(double& top);
    void PutPointerOnGrab();
    void LiftOntoForm();
    void FinishMove(bool dock);
    void RefreshContainer();
    void RepaintChildren();
    void PushDockedBars();
    bool PushPast(SplitWindow& bar, const SplitWindow& fixed) const;
    bool IsSelfOrInside(const host::Control& c) const;
    std::shared_ptr<host::Control> DropTargetAt(POINT screen) const;
    bool DropIntoControlUnderPointer();
    std::int16_t SizingPointerAt(float x, float y) const;
    void BeginSizing(float x, float y);
    void SizeStep(float x, float y);
    void EndSizing();
    void KeepInsideContainer();
    void NoteShapeOrientation();
    bool ToolBarOrientation() const;
    ToolItem ToolItemOf(host::Control& c);
    void PlaceToolItem(host::Control& c, const ToolItem& item, const ToolPlace& place);
    void StretchLine(host::Control& line, int thicknessPx);
    void ShowWrapHiddenDividers();

    // ---- Persisted properties (BackColor and Enabled live on the host surface) ----
    bool active_ = false;
    std::int32_t gapInPixels_ = 3;
    std::int32_t minimumPaneHeld_ = 5;  // pixels, one gap included
    std::shared_ptr<host::StdPicture> picture_;
    float gradientFraction_ = 0;
    bool border_ = true;
    std::int16_t borderStyle_ = 2;
    bool transparent_ = false;
    bool vertical_ = true;
    std::int16_t style_ = SplitterWindow;
    bool moveable_ = false;
    bool dockable_ = false;
    bool sizeable_ = false;
    float floatHeight_ = 0, floatWidth_ = 0;
    bool autoAdjust_ = false, autoAdjustForm_ = false;
    bool dockTop_ = true, dockBottom_ = true, dockLeft_ = true, dockRight_ = true;
    std::int16_t configuredDock_ = host::kAlignNone;
    std::int32_t minWidth_ = 300, minHeight_ = 300;
    std::int32_t maxWidth_ = std::numeric_limits<std::int32_t>::max();
    std::int32_t maxHeight_ = std::numeric_limits<std::int32_t>::max();
    bool dockableContained_ = false;
    bool moving_ = false;
    float fixedX_ = 0, fixedY_ = 0;
    bool userOrientation_ = true;

    // ---- Colours ----
    COLORREF lightColor_ = 0, darkColor_ = 0;
    COLORREF cachedBackColour_ = 0;

    // ---- Panes ----
    std::vector<Pane> panes_ = std::vector<Pane>(1);
    std::int32_t axisExtent_ = 0;  // the axis extent last seen; 0 until one is remembered
    std::size_t childCountSeen_ = 0;
    std::size_t visibleCount_ = 0;
    bool layoutInitialised_ = false;
    bool arranging_ = false;
    bool skipArrangeOnce_ = false;
    bool splitDragging_ = false;
    bool resetting_ = false;
    bool needsRespread_ = false;  // a scale that could not be done: spread on the next paint

    // ---- The keyboard ----
    std::size_t keyGap_ = 0;  // the pane after the gap the keys move; the first gap when none
    std::optional<std::vector<PaneInfo>> keyMoveStart_;  // the panes before a move by the keys

    // ---- Mouse and menu band ----
    CmdMouseInfo mouseInfo_;
    RECT menuRect_{};
    bool menuShown_ = false;

    // ---- Painting and the cursor timer ----
    std::unique_ptr<user::HostTimer> tmrCursor_;
    bool painting_ = false;
    bool paintedOnce_ = false;
    bool setupDone_ = false;
    bool refreshing_ = false;
    bool mouseInside_ = false;
    bool armed_ = false;
    float lastOverX_ = -1, lastOverY_ = -1;
    bool formSizeTaken_ = false;
    std::int32_t formWidthSeen_ = 0, formHeightSeen_ = 0;

    // ---- Docking, floating and moving state (splitwindow_dock*.cpp) ----
    struct ContainerArea {
        std::int32_t left = 0, top = 0, width = 0, height = 0;
    };
    std::int16_t currentDock_ = host::kAlignNone;
    float grabX_ = 0, grabY_ = 0;
    bool firstMove_ = false;
    bool sizing_ = false;
    bool onGrip_ = false;
    bool onSizingEdge_ = false;
    std::int16_t sizingPointer_ = 0;
    ContainerArea containerArea_;
    std::int16_t lastDock_ = host::kAlignNone;
    std::int32_t lastWidth_ = 0, lastHeight_ = 0;
    bool dockChanging_ = false;
    bool moveGuard_ = false;
    bool arrangingToolBar_ = false;
    int resizeNesting_ = 0;
    bool resizePending_ = false;
    bool moveJustEnded_ = false;
    std::int32_t completedWidth_ = 0, completedHeight_ = 0;
    // Dividers the tool-bar arrangement hid at the end of a wrapped row; shown again before
    // the next arrangement.
    std::vector<std::weak_ptr<host::Control>> wrapHidden_;

    // ---- Form persistence ----
    foundation::FormPersistence persistence_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace brimlox::controls
