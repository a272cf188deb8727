// The syntax of the text form format: nested "object Name: TClass ... end" blocks, each with
// its properties ("Left = 8", "Font.Style = [fsBold]", "Caption = 'It''s'#13#10'done'",
// "Picture.Data = { 0754... }") and then its child objects.
#pragma once

#include <string>
#include <vector>

#include "form_value.h"

struct FormProperty {
    std::string name;
    FormValue value;
    int line = 0;
};

struct FormObject {
    std::string name;
    std::string class_name;
    int line = 0;
    std::vector<FormProperty> properties;
    std::vector<FormObject> children;
};

// Parses one root object; throws Exception with a message that begins "line N: ".
FormObject ParseForm(const std::string& text);
