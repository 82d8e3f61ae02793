// Form: a top-level window of the host holding controls. It owns its controls in creation
// order (which is also their z-order and the order Controls enumerates), docks aligned
// controls along its edges, raises Load, Resize, Paint, QueryUnload, Unload and Terminate, and
// can run in design mode (Ambient.UserMode false).
//
// Several handlers of one form event run in the order they were connected: handlers that
// controls connect while they are created (in creation order) run before handlers that
// application code connects after loading the form.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/host/control.h"
#include "platform/host/event_source.h"
#include "platform/host/font.h"
#include "platform/host/picture.h"

namespace brimlox::host {

// UnloadMode values of QueryUnload.
enum UnloadModeValue : std::int16_t { kFormControlMenu = 0, kFormCode = 1, kAppWindows = 2, kAppTaskManager = 3 };

class Form : public Dispatch, public EventSource {
public:
    // A new form with its (hidden) window; `designMode` hosts it in the designer.
    static std::shared_ptr<Form> Create(std::string name = "Form1", bool designMode = false);
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    std::string TypeName() const override { return "Form"; }
    const TypeInfo* GetTypeInfo() const override;

    bool DesignMode() const { return designMode_; }
    std::string Name() const { return name_; }
    void SetName(std::string name);
    std::string Caption() const { return caption_; }
    void SetCaption(std::string caption);
    HWND hWnd() const { return hwnd_; }
    HDC hDC() const { return ownDc_; }
    // The outer rectangle in twips, settable.
    std::int32_t Left() const;
    std::int32_t Top() const;
    std::int32_t Width() const;
    std::int32_t Height() const;
    void SetLeft(std::int32_t v) { Move(v, Top(), Width(), Height()); }
    void SetTop(std::int32_t v) { Move(Left(), v, Width(), Height()); }
    void SetWidth(std::int32_t v) { Move(Left(), Top(), v, Height()); }
    void SetHeight(std::int32_t v) { Move(Left(), Top(), Width(), v); }
    void Move(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height);
    // The client area in twips.
    float ScaleWidth() const;
    float ScaleHeight() const;
    std::uint32_t BackColor() const { return backColor_; }
    void SetBackColor(std::uint32_t color);
    std::uint32_t ForeColor() const { return foreColor_; }
    void SetForeColor(std::uint32_t color) { foreColor_ = color; }
    std::shared_ptr<StdFont> Font() const { return font_; }
    void SetFont(std::shared_ptr<StdFont> font);
    std::shared_ptr<StdPicture> Picture() const { return picture_; }
    void SetPicture(std::shared_ptr<StdPicture> picture);
    // 0 normal, 1 minimised, 2 maximised.
    std::int16_t WindowState() const { return windowState_; }
    void SetWindowState(std::int16_t state);
    // 0 none, 1 fixed single, 2 sizable, 3 fixed dialog, 4 fixed tool window, 5 sizable tool window.
    std::int16_t BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(std::int16_t style);
    bool Visible() const { return visible_; }
    // The caption's system menu place and buttons: without the control box the caption has no
    // icon and no buttons; the minimise and maximise buttons show when either is on.
    bool ControlBox() const { return controlBox_; }
    void SetControlBox(bool on);
    bool MinButton() const { return minButton_; }
    void SetMinButton(bool on);
    bool MaxButton() const { return maxButton_; }
    void SetMaxButton(bool on);
    // The icon of the caption (and of the task strip's button); an empty picture for none.
    std::shared_ptr<StdPicture> Icon() const { return icon_; }
    void SetIcon(std::shared_ptr<StdPicture> icon);
    // The outer rectangle in twips that the form has when its window state is normal: the
    // current one, or the one kept while it is minimised or maximised.
    RECT NormalRectTwips() const;

    // Raises Load once (Show loads a form that is not loaded yet).
    void Load();
    void Show();
    void Hide();
    // Asks QueryUnload, then Unload; either may cancel (false). Otherwise the controls are
    // terminated, the window goes, Terminate is raised and true returned.
    bool Unload(std::int16_t unloadMode = kFormCode);
    bool Loaded() const { return loaded_; }
    bool Unloaded() const { return unloaded_; }

    // Every control in every container, in creation (z-) order.
    const std::vector<std::shared_ptr<Control>>& Controls() const { return controls_; }
    // Whether any control on the form is drawn by its container (a line or a shape): every
    // paint asks, so the answer is counted as controls come and go.
    bool HasWindowlessControls() const { return windowless_ > 0; }
    std::shared_ptr<Control> Find(const std::string& name, std::int16_t index = -1) const;
    // The members of a control array, by index.
    std::vector<std::shared_ptr<Control>> ControlArray(const std::string& name) const;
    // Adds a new instance of a registered control type: Initialize, then InitProperties. An
    // empty name gives the next free one from the type's name base; an index makes it a member
    // of a control array.
    std::shared_ptr<Control> Add(const std::string& typeName, std::string name = "", Control* container = nullptr,
                                 std::int16_t index = -1);
    // Removes a control (Terminate runs); contained controls go with it.
    void Remove(Control& control);

    // Throws HostError 380 unless `control` may be renamed to `name`.
    void CheckRename(const Control& control, const std::string& name) const;

    // Docks the aligned controls along the edges (see docs/form-file-format.md for the order).
    void Arrange();
    void Reorder(Control& control, bool toBack);
    // A control of this form reported a change of one of its properties (its PropertyChanged):
    // the form is marked dirty and every listener is told which control and property changed.
    void NotePropertyChanged(Control& control, const std::string& property);
    // Listeners of property changes (a designer's property browser, a property page, tests).
    // They run in the order they were added, at the moment of each change; one may remove
    // itself or others while it runs. An exception from a listener reaches the code that set
    // the property.
    using PropertyChangedListener = std::function<void(Control& control, const std::string& property)>;
    std::size_t AddPropertyChangedListener(PropertyChangedListener listener);
    void RemovePropertyChangedListener(std::size_t id);
    bool Dirty() const { return dirty_; }
    void SetDirty(bool dirty) { dirty_ = dirty; }

    // Used by the form-file loader: a control created but not yet initialised, with its window
    // or (withWindow false) without, for the loader to site it first and make the window after;
    // nameChecked skips the name check for a loader that checked every name of the file at once.
    std::shared_ptr<Control> CreateUninitialised(const std::string& typeName, std::string name, std::int16_t index,
                                                 bool withWindow = true, bool nameChecked = false);
    // Terminates and drops every control and the window without raising the form's events
    // (a load that failed halfway takes its form down this way).
    void Discard();

private:
    Form(std::string name, bool designMode);
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void HandlePaint();
    void CreateWindowForForm();
    void ApplyFrameStyle();
    void ApplyWindowState();
    void NoteSize(WPARAM kind);
    void TerminateControls();
    void CheckNewName(const std::string& name, std::int16_t index) const;
    std::string NextFreeName(const std::string& base) const;

    std::string name_;
    std::string caption_;
    bool designMode_ = false;
    HWND hwnd_ = nullptr;
    HDC ownDc_ = nullptr;
    std::uint32_t backColor_ = 0x8000000F;
    std::uint32_t foreColor_ = 0x80000012;
    std::shared_ptr<StdFont> font_;
    std::shared_ptr<StdPicture> picture_;
    std::int16_t windowState_ = 0;
    std::int16_t borderStyle_ = 2;
    bool controlBox_ = true;
    bool minButton_ = true;
    bool maxButton_ = true;
    std::shared_ptr<StdPicture> icon_;
    bool visible_ = false;
    bool loaded_ = false;
    bool unloaded_ = false;
    bool arranging_ = false;
    bool dirty_ = false;
    std::vector<std::shared_ptr<Control>> controls_;
    std::size_t windowless_ = 0;  // how many of controls_ are windowless
    std::vector<std::pair<std::size_t, std::shared_ptr<PropertyChangedListener>>> changeListeners_;
    std::size_t nextListenerId_ = 1;
};

}  // namespace brimlox::host
