// A small form for the model tests: an OK button, a countdown line, the auto-close check box
// and a timer, with handlers that behave like the program's countdown.
#pragma once

#include <cstdint>
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

    std::int32_t autoclose_flag = 0;
    std::int32_t close_seconds = 8;
    std::int32_t seconds_left = 0;
    std::vector<std::string> clicks;  // "flag F, box B" at each entry of CheckBox1Click
    int ticks = 0;
    std::function<void()> on_ok;

    // Switches the countdown on (flag 1) or off (flag 0) as the program does after a success.
    void ArmAutoClose(std::int32_t flag);

    void Button1Click(TObject* Sender);
    void Timer1Timer(TObject* Sender);
    void CheckBox1Click(TObject* Sender);

    static const FormClass form_class;
};

}  // namespace vcltest
