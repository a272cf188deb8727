// The layout reader: turns form data into the components of a form.
#pragma once

#include <string>

class TForm;
struct FormClass;

// Creates every component of the form data by class name, owned by the form and placed on the
// control it is nested in; sets properties by name; binds the form class's members and
// handlers by name; then tells every component that loading is done. Any error (bad syntax,
// unknown class, property, handler or member, a bad value) throws Exception with a message
// that names the form class and the line.
void ReadForm(TForm& form, const FormClass& form_class, const std::string& text);
