#include "forms.h"

#include <algorithm>
#include <cctype>

#include "form_reader.h"
#include "win32_backend.h"

namespace {

TApplication application_object;

std::string FormResourceText(const FormClass& form_class)
{
    vcl::Backend* backend = vcl::CurrentBackend();
    if (!backend)
        throw Exception("No window system: Application->Initialize has not been called");
    std::string name = form_class.class_name;
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return backend->LoadFormResource(name);
}

// The windowed controls on parent and, after each, those on it, each level in tab order.
void CollectTabOrder(const TWinControl& parent, std::vector<TWinControl*>& list)
{
    std::vector<TWinControl*> children;
    for (TControl* control : parent.Controls())
        if (auto* windowed = dynamic_cast<TWinControl*>(control))
            children.push_back(windowed);
    std::stable_sort(children.begin(), children.end(), [](TWinControl* a, TWinControl* b) {
        return a->TabOrder() < b->TabOrder();
    });
    for (TWinControl* child : children) {
        list.push_back(child);
        CollectTabOrder(*child, list);
    }
}

}  // namespace

TApplication* Application = &application_object;

vcl::Backend* vcl::CurrentBackend() { return Application->Backend(); }

TForm::TForm(TComponent* owner, const FormClass& form_class)
    : TForm(owner, form_class, FormResourceText(form_class))
{
}

TForm::TForm(TComponent* owner, const FormClass& form_class, const std::string& form_text)
    : TWinControl(owner), class_name_(form_class.class_name)
{
    SetVisible(false);  // a form shows when asked to, not when it is made
    ReadForm(*this, form_class, form_text);
}

TForm::~TForm()
{
    if (Application->main_form_ == this)
        Application->main_form_ = nullptr;
    // The controls go before the window they are on.
    DestroyComponents();
}

void TForm::Close()
{
    if (Application->MainForm() == this)
        Application->Terminate();
    else
        SetVisible(false);
}

TWinControl* TForm::FindNextControl(TWinControl* current, bool forward) const
{
    std::vector<TWinControl*> list;
    CollectTabOrder(*this, list);
    const int count = static_cast<int>(list.size());
    const auto found = std::find(list.begin(), list.end(), current);
    int index = found != list.end() ? static_cast<int>(found - list.begin()) : (forward ? -1 : count);
    for (int step = 0; step < count; ++step) {
        index = (index + (forward ? 1 : count - 1)) % count;
        if (list[index]->TabStop() && list[index]->CanFocus())
            return list[index];
    }
    return nullptr;
}

bool TForm::SetProperty(const std::string& name, const FormValue& value)
{
    if (name == "ClientWidth") {
        client_width_ = value.AsInteger();
    } else if (name == "ClientHeight") {
        client_height_ = value.AsInteger();
    } else if (name == "BorderStyle") {
        border_style_ =
            value.AsEnum<TFormBorderStyle>({{"bsSingle", bsSingle}, {"bsSizeable", bsSizeable}});
    } else if (name == "BorderIcons") {
        border_icons_ = value.AsFlags<TBorderIcon>(
            {{"biSystemMenu", biSystemMenu}, {"biMinimize", biMinimize}, {"biMaximize", biMaximize}});
    } else if (name == "PixelsPerInch") {
        pixels_per_inch_ = value.AsInteger();
    } else if (name == "TextHeight") {
        text_height_ = value.AsInteger();
    } else {
        return TWinControl::SetProperty(name, value);
    }
    return true;
}

void TForm::Loaded()
{
    TWinControl::Loaded();
    CreateHandle();
}

TApplication::TApplication() : TComponent(nullptr) {}

TApplication::~TApplication()
{
    DestroyComponents();
    backend_.reset();
}

void TApplication::Initialize()
{
    if (!backend_)
        backend_ = vcl::CreateWin32Backend();
}

void TApplication::Run()
{
    Initialize();
    if (!main_form_)
        return;
    main_form_->Show();
    if (!terminated_)
        backend_->RunMessageLoop();
}

void TApplication::Terminate()
{
    terminated_ = true;
    if (backend_)
        backend_->QuitMessageLoop();
}

void TApplication::ShowException(Exception* exception)
{
    Initialize();
    TForm* owner = main_form_ && main_form_->Visible() && main_form_->HandleAllocated()
                       ? main_form_
                       : nullptr;
    backend_->ShowErrorBox(Title(), exception->Message, owner);
}

void TApplication::HandleException() noexcept
{
    try {
        try {
            throw;
        } catch (Exception& exception) {
            ShowException(&exception);
        } catch (...) {
            Exception exception("");
            ShowException(&exception);
        }
    } catch (...) {
        // The error box itself failed; there is nothing left to report with.
    }
}

std::string TApplication::Title()
{
    Initialize();
    return backend_->ProgramTitle();
}
