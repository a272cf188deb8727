// Forms, built from form data, and the application object that runs them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "controls.h"

class TForm;

// What a form class tells the layout reader about itself: the class its form data must name,
// and its component members and event handlers, each by name.
struct FormMember {
    const char* name;
    // Stores the component in the member; false when it is not of the member's class.
    bool (*bind)(TForm& form, TComponent* component);
};

struct FormHandler {
    const char* name;
    void (*call)(TForm& form, TObject* sender);
};

struct FormClass {
    const char* class_name;
    std::vector<FormMember> members;
    std::vector<FormHandler> handlers;
};

namespace vcl::detail {

template <class M>
struct MemberOf;
template <class Form, class Component>
struct MemberOf<Component* Form::*> {
    using FormType = Form;
    using ComponentType = Component;
};

template <class M>
struct HandlerOf;
template <class Form>
struct HandlerOf<void (Form::*)(TObject*)> {
    using FormType = Form;
};

}  // namespace vcl::detail

// FormMember::bind for a member pointer, e.g. BindMember<&TForm1::Button1>.
template <auto Member>
bool BindMember(TForm& form, TComponent* component)
{
    using Traits = vcl::detail::MemberOf<decltype(Member)>;
    auto* typed = dynamic_cast<typename Traits::ComponentType*>(component);
    if (!typed)
        return false;
    static_cast<typename Traits::FormType&>(form).*Member = typed;
    return true;
}

// FormHandler::call for a handler, e.g. CallHandler<&TForm1::Button1Click>.
template <auto Handler>
void CallHandler(TForm& form, TObject* sender)
{
    using Form = typename vcl::detail::HandlerOf<decltype(Handler)>::FormType;
    (static_cast<Form&>(form).*Handler)(sender);
}

enum TFormBorderStyle { bsSingle, bsSizeable };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4 };

class TForm : public TWinControl {
public:
    // The base construction: reads the form data embedded in the program as the resource named
    // after the class in capitals ("TFORM1"), creating every component in its designed state,
    // binding the members and handlers, and making the (hidden) windows.
    TForm(TComponent* owner, const FormClass& form_class);
    // The same from form data given as text.
    TForm(TComponent* owner, const FormClass& form_class, const std::string& form_text);
    ~TForm() override;

    const std::string& ClassName() const { return class_name_; }
    int ClientWidth() const { return client_width_; }
    int ClientHeight() const { return client_height_; }
    TFormBorderStyle BorderStyle() const { return border_style_; }
    unsigned BorderIcons() const { return border_icons_; }
    int PixelsPerInch() const { return pixels_per_inch_; }
    int TextHeight() const { return text_height_; }

    void Show() { SetVisible(true); }
    // The main form asks the message loop to end and returns at once; the loop ends when the
    // running handler has returned. Any other form hides.
    void Close();

    // The next control after current (null: the first) in tab order that can take the focus,
    // going round; null when there is none.
    TWinControl* FindNextControl(TWinControl* current, bool forward) const;

    bool SetProperty(const std::string& name, const FormValue& value) override;
    void Loaded() override;

private:
    std::string class_name_;
    int client_width_ = 0;
    int client_height_ = 0;
    TFormBorderStyle border_style_ = bsSizeable;
    unsigned border_icons_ = biSystemMenu | biMinimize | biMaximize;
    int pixels_per_inch_ = 96;
    int text_height_ = 13;
};

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;  // destroys the forms, then the backend

    // Installs the Win32 backend, unless one is installed already.
    void Initialize();

    // Creates a form owned by the application; the first one becomes the main form. An
    // exception from the form's constructor passes out of this call.
    template <class Form>
    void CreateForm(Form** reference)
    {
        Form* form = new Form(this);
        *reference = form;
        if (!main_form_)
            main_form_ = form;
    }

    // Shows the main form and runs the message loop until it has been closed.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }

    // The modal error box with the exception's message, over the main form while it is shown.
    void ShowException(Exception* exception);
    // For a catch block: shows the exception being handled; a foreign one without a message.
    void HandleException() noexcept;

    TForm* MainForm() const { return main_form_; }
    std::string Title();

    vcl::Backend* Backend() const { return backend_.get(); }
    void SetBackend(std::unique_ptr<vcl::Backend> backend) { backend_ = std::move(backend); }

private:
    friend class TForm;  // a form that goes clears main_form_

    std::unique_ptr<vcl::Backend> backend_;
    TForm* main_form_ = nullptr;
    bool terminated_ = false;
};

extern TApplication* Application;
