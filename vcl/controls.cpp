#include "controls.h"

#include <algorithm>

namespace {

TColor ColorValue(const FormValue& value)
{
    if (value.kind == FormValue::Kind::Integer)
        return static_cast<TColor>(value.integer);
    TColor color;
    if (!ColorFromIdent(value.AsIdent(), color))
        throw Exception("Invalid property value " + value.text);
    return color;
}

int CharsetValue(const FormValue& value)
{
    if (value.kind == FormValue::Kind::Integer)
        return value.AsInteger();
    return value.AsEnum<int>({{"ANSI_CHARSET", 0}, {"DEFAULT_CHARSET", 1}});
}

unsigned FontStyleValue(const FormValue& value)
{
    return value.AsFlags<TFontStyle>({
        {"fsBold", TFontStyle::fsBold},
        {"fsItalic", TFontStyle::fsItalic},
        {"fsUnderline", TFontStyle::fsUnderline},
        {"fsStrikeOut", TFontStyle::fsStrikeOut},
    });
}

}  // namespace

TControl::TControl(TComponent* owner) : TComponent(owner) {}

TControl::~TControl() { SetParent(nullptr); }

void TControl::SetParent(TWinControl* parent)
{
    if (parent == parent_)
        return;
    // A graphic control is drawn by its parent; a windowed one has a window to make.
    auto* windowed = dynamic_cast<TWinControl*>(this);
    if (parent_) {
        if (!windowed)
            RepaintOnParent();
        auto& siblings = parent_->controls_;
        siblings.erase(std::find(siblings.begin(), siblings.end(), this));
    }
    parent_ = parent;
    if (!parent_)
        return;
    parent_->controls_.push_back(this);
    if (!windowed)
        RepaintOnParent();
    else if (parent_->HandleAllocated() && !windowed->HandleAllocated())
        windowed->CreateHandle();
}

void TControl::SetCaption(const std::string& caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    Changed(vcl::Aspect::Caption);
}

void TControl::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    Changed(vcl::Aspect::Enabled);
}

void TControl::SetVisible(bool visible)
{
    if (visible == visible_)
        return;
    visible_ = visible;
    Changed(vcl::Aspect::Visible);
}

const TFont& TControl::Font() const
{
    return parent_font_ && parent_ ? parent_->Font() : font_;
}

bool TControl::SetProperty(const std::string& name, const FormValue& value)
{
    if (name.compare(0, 5, "Font.") == 0) {
        // A font of its own starts as a copy of the one it replaces.
        if (parent_font_ && parent_)
            font_ = parent_->Font();
        parent_font_ = false;
    }

    if (name == "Left") left_ = value.AsInteger();
    else if (name == "Top") top_ = value.AsInteger();
    else if (name == "Width") width_ = value.AsInteger();
    else if (name == "Height") height_ = value.AsInteger();
    else if (name == "Caption") caption_ = value.AsString();
    else if (name == "Enabled") enabled_ = value.AsBoolean();
    else if (name == "Visible") visible_ = value.AsBoolean();
    else if (name == "Color") color_ = ColorValue(value);
    else if (name == "ParentFont") parent_font_ = value.AsBoolean();
    else if (name == "Font.Name") font_.Name = value.AsString();
    else if (name == "Font.Height") font_.Height = value.AsInteger();
    else if (name == "Font.Color") font_.Color = ColorValue(value);
    else if (name == "Font.Style") font_.Style = FontStyleValue(value);
    else if (name == "Font.Charset") font_.Charset = CharsetValue(value);
    else return TComponent::SetProperty(name, value);
    return true;
}

bool TControl::SetEvent(const std::string& name, TNotifyEvent handler)
{
    if (name != "OnClick")
        return TComponent::SetEvent(name, std::move(handler));
    OnClick = std::move(handler);
    return true;
}

void TControl::Paint(TCanvas&) {}

void TControl::Click()
{
    if (OnClick && !Loading())
        OnClick(this);
}

void TControl::Changed(vcl::Aspect) { RepaintOnParent(); }

void TControl::RepaintOnParent()
{
    if (parent_ && parent_->Peer())
        parent_->Peer()->Repaint(left_, top_, width_, height_);
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl()
{
    while (!controls_.empty())
        controls_.back()->SetParent(nullptr);
}

void TWinControl::CreateHandle()
{
    vcl::Backend* backend = vcl::CurrentBackend();
    if (!backend)
        return;
    peer_ = backend->CreateWindowPeer(*this);
    for (TControl* control : controls_)
        if (auto* windowed = dynamic_cast<TWinControl*>(control))
            windowed->CreateHandle();
}

bool TWinControl::CanFocus() const
{
    if (!TakesFocus())
        return false;
    for (const TControl* control = this; control; control = control->Parent())
        if (!control->Enabled() || !control->Visible())
            return false;
    return true;
}

void TWinControl::SetFocus()
{
    if (!CanFocus())
        throw Exception("Cannot focus a disabled or invisible window");
    if (peer_)
        peer_->SetFocus();
}

bool TWinControl::SetProperty(const std::string& name, const FormValue& value)
{
    if (name == "TabOrder") tab_order_ = value.AsInteger();
    else if (name == "TabStop") tab_stop_ = value.AsBoolean();
    else return TControl::SetProperty(name, value);
    return true;
}

void TWinControl::Changed(vcl::Aspect aspect)
{
    if (peer_)
        peer_->Update(aspect);
}
