// Controls: components with a place on a parent. Graphic controls are painted by their parent;
// windowed controls have a native window of their own, made by the backend.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "backend.h"
#include "component.h"
#include "graphics.h"

class TWinControl;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    TWinControl* Parent() const { return parent_; }
    void SetParent(TWinControl* parent);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);

    TColor Color() const { return color_; }
    bool ParentFont() const { return parent_font_; }
    // The font drawn with: the parent's while ParentFont is set, else the control's own.
    const TFont& Font() const;

    TNotifyEvent OnClick;

    bool SetProperty(const std::string& name, const FormValue& value) override;
    bool SetEvent(const std::string& name, TNotifyEvent handler) override;

    // Draws the control's face, in its own coordinates (0, 0 is its top-left corner).
    virtual void Paint(TCanvas& canvas);

protected:
    // Fires OnClick; never while form data is being read.
    void Click();
    // Shows a changed part of the state on screen, if the control is on screen.
    virtual void Changed(vcl::Aspect aspect);

private:
    void RepaintOnParent();

    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
    TWinControl* parent_ = nullptr;  // not owned
    std::string caption_;
    bool enabled_ = true;
    bool visible_ = true;
    TColor color_ = clBtnFace;
    bool parent_font_ = true;
    TFont font_;
};

// The kinds of native window; a Custom window is painted by the toolkit itself.
enum class WindowKind { Custom, Button, CheckBox, StaticText };

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    // The controls placed on this one, in the order they were placed.
    const std::vector<TControl*>& Controls() const { return controls_; }

    int TabOrder() const { return tab_order_; }
    bool TabStop() const { return tab_stop_; }

    virtual WindowKind Kind() const { return WindowKind::Custom; }

    bool HandleAllocated() const { return peer_ != nullptr; }
    vcl::WindowPeer* Peer() const { return peer_.get(); }
    // Makes the native window, then those of the windowed controls on it.
    void CreateHandle();

    // Only controls that take the keyboard focus, and only while they and all their parents
    // are enabled and visible.
    bool CanFocus() const;
    void SetFocus();

    bool SetProperty(const std::string& name, const FormValue& value) override;

    // Called by the window system when the user clicked the native control.
    virtual void ClickedByUser() {}

protected:
    virtual bool TakesFocus() const { return false; }
    void SetTabStop(bool tab_stop) { tab_stop_ = tab_stop; }
    void Changed(vcl::Aspect aspect) override;

private:
    friend class TControl;  // a control joins and leaves controls_ in SetParent

    std::vector<TControl*> controls_;
    std::unique_ptr<vcl::WindowPeer> peer_;
    int tab_order_ = 0;
    bool tab_stop_ = false;
};
