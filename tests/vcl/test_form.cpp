#include "test_form.h"

namespace vcltest {

const char kTestLayout[] = R"(object Form1: TTestForm
  Left = 100
  Top = 50
  BorderIcons = [biSystemMenu]
  BorderStyle = bsSingle
  Caption = 'Test'
  ClientHeight = 100
  ClientWidth = 200
  object Button1: TButton
    Left = 8
    Top = 8
    Width = 75
    Height = 25
    Caption = 'OK'
    TabOrder = 0
    OnClick = Button1Click
  end
  object Panel1: TPanel
    Left = 8
    Top = 40
    Width = 180
    Height = 20
    Caption = 'Auto close disabled'
    TabOrder = 1
  end
  object CheckBox1: TCheckBox
    Left = 8
    Top = 70
    Width = 180
    Height = 20
    Caption = 'Close automatically'
    Checked = True
    State = cbChecked
    TabOrder = 2
    OnClick = CheckBox1Click
  end
  object Timer1: TTimer
    Interval = 5000
    OnTimer = Timer1Timer
  end
end
)";

const FormClass TTestForm::form_class = {
    "TTestForm",
    {
        {"Button1", BindMember<&TTestForm::Button1>},
        {"Panel1", BindMember<&TTestForm::Panel1>},
        {"CheckBox1", BindMember<&TTestForm::CheckBox1>},
        {"Timer1", BindMember<&TTestForm::Timer1>},
    },
    {
        {"Button1Click", CallHandler<&TTestForm::Button1Click>},
        {"Timer1Timer", CallHandler<&TTestForm::Timer1Timer>},
        {"CheckBox1Click", CallHandler<&TTestForm::CheckBox1Click>},
    },
};

TTestForm::TTestForm(TComponent* owner, const std::string& layout)
    : TForm(owner, form_class, layout)
{
}

void TTestForm::Button1Click(TObject*)
{
    if (on_ok)
        on_ok();
}

void TTestForm::Timer1Timer(TObject*) { ++ticks; }

void TTestForm::CheckBox1Click(TObject*)
{
    clicks.push_back(CheckBox1->Checked() ? "box checked" : "box unchecked");
}

}  // namespace vcltest
