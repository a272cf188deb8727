// Standard controls: push button, check box, group box, label and static text.
#pragma once

#include "controls.h"

class TButton : public TWinControl {
public:
    explicit TButton(TComponent* owner);

    WindowKind Kind() const override { return WindowKind::Button; }
    void ClickedByUser() override { Click(); }

protected:
    bool TakesFocus() const override { return true; }
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// A check box reports every change of its state as a click, whether the user or code made it.
class TCheckBox : public TWinControl {
public:
    explicit TCheckBox(TComponent* owner);

    TCheckBoxState State() const { return state_; }
    // The one place that decides about clicks: a different state is stored, shown, and then
    // reported through OnClick; the same state changes nothing and reports nothing. OnClick may
    // set the state again; the inner call sees the state already stored.
    void SetState(TCheckBoxState state);

    bool Checked() const { return state_ == cbChecked; }
    void SetChecked(bool checked) { SetState(checked ? cbChecked : cbUnchecked); }

    bool SetProperty(const std::string& name, const FormValue& value) override;

    WindowKind Kind() const override { return WindowKind::CheckBox; }
    // The user's click toggles the state through SetState, like a change made by code.
    void ClickedByUser() override { SetChecked(!Checked()); }

protected:
    bool TakesFocus() const override { return true; }

private:
    TCheckBoxState state_ = cbUnchecked;
};

// A frame with a caption, holding other controls. Its caption is drawn in its font's colour.
class TGroupBox : public TWinControl {
public:
    using TWinControl::TWinControl;

    void Paint(TCanvas& canvas) override;
};

// A caption painted on its parent.
class TLabel : public TControl {
public:
    using TControl::TControl;

    void Paint(TCanvas& canvas) override;
};

// A caption in a native window of its own, which screen readers see.
class TStaticText : public TWinControl {
public:
    using TWinControl::TWinControl;

    WindowKind Kind() const override { return WindowKind::StaticText; }
};
