#include "stdctrls.h"

TButton::TButton(TComponent* owner) : TWinControl(owner) { SetTabStop(true); }

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) { SetTabStop(true); }

void TCheckBox::SetState(TCheckBoxState state)
{
    if (state == state_)
        return;
    state_ = state;
    Changed(vcl::Aspect::Check);
    Click();
}

bool TCheckBox::SetProperty(const std::string& name, const FormValue& value)
{
    if (name == "Checked")
        SetChecked(value.AsBoolean());
    else if (name == "State")
        SetState(value.AsEnum<TCheckBoxState>(
            {{"cbUnchecked", cbUnchecked}, {"cbChecked", cbChecked}, {"cbGrayed", cbGrayed}}));
    else
        return TWinControl::SetProperty(name, value);
    return true;
}

void TGroupBox::Paint(TCanvas& canvas)
{
    // The frame is an etched line that starts half a text line down, so the caption sits on it.
    const TSize text = canvas.TextExtent(Caption().empty() ? "0" : Caption(), Font());
    FrameEtched(canvas, {0, text.cy / 2, Width(), Height()}, true);
    if (Caption().empty())
        return;
    const TRect caption{8, 0, 8 + text.cx, text.cy};
    canvas.FillRect(caption, Color());
    canvas.TextRect(caption, Caption(), Font(), Enabled() ? Font().Color : clGrayText,
                    TTextLayout::LeftTop);
}

void TLabel::Paint(TCanvas& canvas)
{
    canvas.TextRect({0, 0, Width(), Height()}, Caption(), Font(),
                    Enabled() ? Font().Color : clGrayText, TTextLayout::LeftTop);
}
