#include "form_reader.h"

#include "extctrls.h"
#include "form_parser.h"
#include "forms.h"
#include "stdctrls.h"

namespace {

template <class Component>
TComponent* Create(TComponent* owner)
{
    return new Component(owner);
}

struct ComponentClass {
    const char* name;
    TComponent* (*create)(TComponent* owner);
};

const ComponentClass kClasses[] = {
    {"TBevel", Create<TBevel>},         {"TButton", Create<TButton>},
    {"TCheckBox", Create<TCheckBox>},   {"TGroupBox", Create<TGroupBox>},
    {"TImage", Create<TImage>},         {"TLabel", Create<TLabel>},
    {"TPanel", Create<TPanel>},         {"TStaticText", Create<TStaticText>},
    {"TTimer", Create<TTimer>},
};

class Reader {
public:
    Reader(TForm& form, const FormClass& form_class) : form_(form), class_(form_class) {}

    void Read(const std::string& text)
    {
        FormObject root;
        try {
            root = ParseForm(text);
        } catch (const Exception& syntax_error) {
            throw Exception("Form " + std::string(class_.class_name) + ", " +
                            syntax_error.Message);
        }
        if (root.class_name != class_.class_name)
            Fail(root.line, "the form data is for " + root.class_name);
        form_.SetName(root.name);
        form_.BeginLoading();
        SetProperties(form_, root);
        for (const FormObject& child : root.children)
            ReadComponent(child, &form_);
        for (const FormMember& member : class_.members)
            if (!form_.FindComponent(member.name))
                Fail(root.line, std::string("no component for the member ") + member.name);
        for (TComponent* component : form_.Components())
            component->Loaded();
        form_.Loaded();
    }

private:
    [[noreturn]] void Fail(int line, const std::string& what) const
    {
        throw Exception("Form " + std::string(class_.class_name) + ", line " +
                        std::to_string(line) + ": " + what);
    }

    void ReadComponent(const FormObject& object, TComponent* enclosing)
    {
        const ComponentClass* component_class = nullptr;
        for (const ComponentClass& known : kClasses)
            if (object.class_name == known.name)
                component_class = &known;
        if (!component_class)
            Fail(object.line, "class " + object.class_name + " not found");
        const FormMember* member = nullptr;
        for (const FormMember& candidate : class_.members)
            if (object.name == candidate.name)
                member = &candidate;
        if (!member)
            Fail(object.line, std::string(class_.class_name) + " has no member " + object.name);
        if (form_.FindComponent(object.name))
            Fail(object.line, "a component named " + object.name + " exists already");

        TComponent* component = component_class->create(&form_);
        component->SetName(object.name);
        component->BeginLoading();
        if (!member->bind(form_, component))
            Fail(object.line, "the member " + object.name + " is not a " + object.class_name);
        if (auto* control = dynamic_cast<TControl*>(component)) {
            auto* parent = dynamic_cast<TWinControl*>(enclosing);
            if (!parent)
                Fail(object.line, object.name + " cannot be placed on " + enclosing->Name());
            control->SetParent(parent);
        }
        SetProperties(*component, object);
        for (const FormObject& child : object.children)
            ReadComponent(child, component);
    }

    void SetProperties(TComponent& component, const FormObject& object)
    {
        for (const FormProperty& property : object.properties) {
            const std::string where = object.name + "." + property.name;
            bool known;
            if (property.name.compare(0, 2, "On") == 0) {
                known = component.SetEvent(property.name, Handler(property));
            } else {
                try {
                    known = component.SetProperty(property.name, property.value);
                } catch (const Exception& bad_value) {
                    Fail(property.line, "error reading " + where + ": " + bad_value.Message);
                }
            }
            if (!known)
                Fail(property.line, "property " + where + " does not exist");
        }
    }

    TNotifyEvent Handler(const FormProperty& property) const
    {
        if (property.value.kind != FormValue::Kind::Ident)
            Fail(property.line, "handler name expected for " + property.name);
        const std::string& name = property.value.text;
        for (const FormHandler& handler : class_.handlers) {
            if (name == handler.name) {
                TForm* form = &form_;
                auto call = handler.call;
                return [form, call](TObject* sender) { call(*form, sender); };
            }
        }
        Fail(property.line, std::string(class_.class_name) + " has no handler " + name);
    }

    TForm& form_;
    const FormClass& class_;
};

}  // namespace

void ReadForm(TForm& form, const FormClass& form_class, const std::string& text)
{
    Reader(form, form_class).Read(text);
}
