#include "form1.h"

TForm1* Form1;

const FormClass TForm1::form_class = {
    "TForm1",
    {
        {"Image1", BindMember<&TForm1::Image1>},
        {"Button1", BindMember<&TForm1::Button1>},
        {"GroupBox1", BindMember<&TForm1::GroupBox1>},
        {"GroupBox2", BindMember<&TForm1::GroupBox2>},
        {"PanelB11", BindMember<&TForm1::PanelB11>},
        {"PanelB12", BindMember<&TForm1::PanelB12>},
        {"PanelB13", BindMember<&TForm1::PanelB13>},
        {"PanelB14", BindMember<&TForm1::PanelB14>},
        {"PanelB21", BindMember<&TForm1::PanelB21>},
        {"PanelB22", BindMember<&TForm1::PanelB22>},
        {"PanelB23", BindMember<&TForm1::PanelB23>},
        {"PanelB24", BindMember<&TForm1::PanelB24>},
        {"Label1", BindMember<&TForm1::Label1>},
        {"Label2", BindMember<&TForm1::Label2>},
        {"Label3", BindMember<&TForm1::Label3>},
        {"Label4", BindMember<&TForm1::Label4>},
        {"Label5", BindMember<&TForm1::Label5>},
        {"Label6", BindMember<&TForm1::Label6>},
        {"Label7", BindMember<&TForm1::Label7>},
        {"Label8", BindMember<&TForm1::Label8>},
        {"PanelA11", BindMember<&TForm1::PanelA11>},
        {"Label9", BindMember<&TForm1::Label9>},
        {"PanelA21", BindMember<&TForm1::PanelA21>},
        {"PanelA22", BindMember<&TForm1::PanelA22>},
        {"PanelA12", BindMember<&TForm1::PanelA12>},
        {"Label10", BindMember<&TForm1::Label10>},
        {"Label11", BindMember<&TForm1::Label11>},
        {"PanelA23", BindMember<&TForm1::PanelA23>},
        {"PanelA24", BindMember<&TForm1::PanelA24>},
        {"Label12", BindMember<&TForm1::Label12>},
        {"PanelA13", BindMember<&TForm1::PanelA13>},
        {"PanelA14", BindMember<&TForm1::PanelA14>},
        {"Panel17", BindMember<&TForm1::Panel17>},
        {"Bevel1", BindMember<&TForm1::Bevel1>},
        {"Panel18", BindMember<&TForm1::Panel18>},
        {"StaticText1", BindMember<&TForm1::StaticText1>},
        {"Bevel2", BindMember<&TForm1::Bevel2>},
        {"StaticText2", BindMember<&TForm1::StaticText2>},
        {"StaticText3", BindMember<&TForm1::StaticText3>},
        {"PStatus", BindMember<&TForm1::PStatus>},
        {"Bevel3", BindMember<&TForm1::Bevel3>},
        {"CheckBox1", BindMember<&TForm1::CheckBox1>},
        {"Timer1", BindMember<&TForm1::Timer1>},
        {"Panel1", BindMember<&TForm1::Panel1>},
        {"Bevel4", BindMember<&TForm1::Bevel4>},
    },
    {
        {"Button1Click", CallHandler<&TForm1::Button1Click>},
        {"Timer1Timer", CallHandler<&TForm1::Timer1Timer>},
        {"CheckBox1Click", CallHandler<&TForm1::CheckBox1Click>},
    },
};

TForm1::TForm1(TComponent* Owner) : TForm(Owner, form_class)
{
    if (DisablePatch())
        ArmAutoClose();
}
