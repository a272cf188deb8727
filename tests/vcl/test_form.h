// A small form for the model tests: an OK button, a line of text, a check box and a timer,
// with handlers that record what reached them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "extctrls.h"
#include "forms.h"
#include "stdctrls.h"

namespace vcltest {

extern const char kTestLayout[];

class TTestForm : public TForm {
public:
    TButton* Button1;
    TPanel* Panel1;
    TCheckBox* CheckBox1;
    TTimer* Timer1;

    explicit TTestForm(TComponent* owner, const std::string& layout = kTestLayout);

    std::vector<std::string> clicks;  // "box checked" or "box unchecked" at each CheckBox1Click
    int ticks = 0;
    std::function<void()> on_ok;

    void Button1Click(TObject* Sender);
    void Timer1Timer(TObject* Sender);
    void CheckBox1Click(TObject* Sender);

    static const FormClass form_class;
};

}  // namespace vcltest
