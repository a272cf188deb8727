// The layout reader builds a form from form data without any window, and stops at bad form
// data with an Exception that names the line.
#include <gtest/gtest.h>

#include <cstdio>
#include <utility>

#include "extctrls.h"
#include "forms.h"
#include "stdctrls.h"

namespace {

// A .bmp file of 2 x 1 pixels, 24 bits, as picture data: "TBitmap", its size, the file.
std::string PictureData()
{
    const unsigned char bmp[] = {
        'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,                    // file header
        40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0,      // info header
        8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0, 0, 255, 255, 0, 0, 0, 0,                                        // red, blue, padding
    };
    const unsigned char size[] = {sizeof bmp, 0, 0, 0};
    std::string hex = "07544269746D6170";
    char byte[3];
    for (const auto* part : {&size[0], &bmp[0]}) {
        const std::size_t count = part == size ? sizeof size : sizeof bmp;
        for (std::size_t i = 0; i < count; ++i) {
            std::snprintf(byte, sizeof byte, "%02X", part[i]);
            hex += byte;
        }
    }
    return hex;
}

const char kLayout[] = R"(object Form1: TReaderForm
  Caption = 'Reader'
  ClientHeight = 120
  ClientWidth = 300
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  object Image1: TImage
    Left = 4
    Top = 4
    Width = 10
    Height = 10
    Picture.Data = {PICTURE}
  end
  object GroupBox1: TGroupBox
    Left = 8
    Top = 20
    Width = 200
    Height = 80
    Caption = 'Group'
    Font.Color = clHotLight
    ParentFont = False
    TabOrder = 1
    object Label1: TLabel
      Left = 6
      Top = 16
      Width = 31
      Height = 13
      Caption = 'It''s'#9'here'
    end
    object Panel1: TPanel
      Left = 72
      Top = 32
      Width = 73
      Height = 17
      BevelOuter = bvLowered
      Caption = 'one ' +
        'two'
      Font.Charset = DEFAULT_CHARSET
      Font.Color = clNavy
      Font.Height = -12
      Font.Name = 'Arial'
      Font.Style = [fsBold, fsItalic]
      ParentFont = False
      TabOrder = 0
    end
  end
  object Button1: TButton
    Left = 10
    Top = 90
    Width = 75
    Height = 25
    Caption = 'OK'
    TabOrder = 0
    OnClick = Button1Click
  end
  object StaticText1: TStaticText
    Left = 100
    Top = 90
    Width = 20
    Height = 17
    Caption = #72#105
    TabOrder = 2
  end
  object Timer1: TTimer
    Enabled = False
    Interval = 250
  end
end
)";

class TReaderForm : public TForm {
public:
    TImage* Image1;
    TGroupBox* GroupBox1;
    TLabel* Label1;
    TPanel* Panel1;
    TButton* Button1;
    TStaticText* StaticText1;
    TTimer* Timer1;

    explicit TReaderForm(const std::string& layout) : TForm(nullptr, form_class, layout) {}

    std::vector<TObject*> clicked_by;
    void Button1Click(TObject* Sender) { clicked_by.push_back(Sender); }

    static const FormClass form_class;
};

const FormClass TReaderForm::form_class = {
    "TReaderForm",
    {
        {"Image1", BindMember<&TReaderForm::Image1>},
        {"GroupBox1", BindMember<&TReaderForm::GroupBox1>},
        {"Label1", BindMember<&TReaderForm::Label1>},
        {"Panel1", BindMember<&TReaderForm::Panel1>},
        {"Button1", BindMember<&TReaderForm::Button1>},
        {"StaticText1", BindMember<&TReaderForm::StaticText1>},
        {"Timer1", BindMember<&TReaderForm::Timer1>},
    },
    {{"Button1Click", CallHandler<&TReaderForm::Button1Click>}},
};

using Edit = std::pair<std::string, std::string>;

std::string Layout(const std::vector<Edit>& edits = {})
{
    std::string layout = kLayout;
    for (const auto& [from, to] : edits) {
        const auto at = layout.find(from);
        if (at == std::string::npos)
            throw std::logic_error("not in the layout: " + from);
        layout.replace(at, from.size(), to);
    }
    const auto picture = layout.find("PICTURE");
    if (picture != std::string::npos)
        layout.replace(picture, 7, PictureData());
    return layout;
}

TEST(ReaderTest, BuildsTheComponentsAsDesigned)
{
    TReaderForm form(Layout());

    EXPECT_EQ(form.Name(), "Form1");
    EXPECT_EQ(form.Caption(), "Reader");
    EXPECT_EQ(form.ClientWidth(), 300);
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(form.Controls(), (std::vector<TControl*>{form.Image1, form.GroupBox1, form.Button1,
                                                       form.StaticText1}));
    EXPECT_EQ(form.GroupBox1->Controls(), (std::vector<TControl*>{form.Label1, form.Panel1}));
    EXPECT_EQ(form.Panel1->Parent(), form.GroupBox1);
    EXPECT_EQ(form.Timer1->Owner(), &form);

    EXPECT_EQ(form.Panel1->Left(), 72);
    EXPECT_EQ(form.Panel1->Top(), 32);
    EXPECT_EQ(form.Panel1->Width(), 73);
    EXPECT_EQ(form.Panel1->Height(), 17);
    EXPECT_EQ(form.Panel1->BevelOuter(), bvLowered);
    EXPECT_EQ(form.Panel1->TabOrder(), 0);
    EXPECT_EQ(form.Label1->Caption(), "It's\there");
    EXPECT_EQ(form.Panel1->Caption(), "one two");
    EXPECT_EQ(form.StaticText1->Caption(), "Hi");

    // The group keeps the window's font but its colour; the label takes the group's.
    EXPECT_EQ(form.GroupBox1->Font().Name, "MS Sans Serif");
    EXPECT_EQ(form.GroupBox1->Font().Height, -11);
    EXPECT_EQ(form.GroupBox1->Font().Color, clHotLight);
    EXPECT_EQ(form.Label1->Font().Color, clHotLight);
    EXPECT_EQ(form.Panel1->Font().Name, "Arial");
    EXPECT_EQ(form.Panel1->Font().Height, -12);
    EXPECT_EQ(form.Panel1->Font().Color, clNavy);
    EXPECT_TRUE(form.Panel1->Font().Has(TFontStyle::fsBold));
    EXPECT_TRUE(form.Panel1->Font().Has(TFontStyle::fsItalic));
    EXPECT_FALSE(form.Panel1->Font().Has(TFontStyle::fsUnderline));

    EXPECT_EQ(form.Image1->Picture().Width(), 2);
    EXPECT_EQ(form.Image1->Picture().Height(), 1);
    EXPECT_FALSE(form.Timer1->Enabled());
    EXPECT_EQ(form.Timer1->Interval(), 250u);

    form.Button1->ClickedByUser();
    EXPECT_EQ(form.clicked_by, std::vector<TObject*>{form.Button1});
}

struct BadLayout {
    const char* name;
    std::vector<Edit> edits;
    const char* message;
};

const BadLayout kBadLayouts[] = {
    {"UnknownClass", {{"Panel1: TPanel", "Panel1: TWidget"}}, "line 33: class TWidget not found"},
    {"UnknownProperty", {{"BevelOuter = bvLowered", "Wobble = 1"}},
     "line 38: property Panel1.Wobble does not exist"},
    {"UnknownHandler", {{"OnClick = Button1Click", "OnClick = Nowhere"}},
     "line 57: TReaderForm has no handler Nowhere"},
    {"UnknownEvent", {{"OnClick = Button1Click", "OnTimer = Button1Click"}},
     "line 57: property Button1.OnTimer does not exist"},
    {"HandlerNotAName", {{"OnClick = Button1Click", "OnClick = 'Button1Click'"}},
     "line 57: handler name expected for OnClick"},
    {"UnknownMember", {{"StaticText1: TStaticText", "StaticText2: TStaticText"}},
     "line 59: TReaderForm has no member StaticText2"},
    {"MissingMember", {{"  object Timer1: TTimer\n    Enabled = False\n    Interval = 250\n  end\n", ""}},
     "line 1: no component for the member Timer1"},
    {"MemberOfAnotherClass", {{"Button1: TButton", "Button1: TCheckBox"}},
     "line 50: the member Button1 is not a TCheckBox"},
    {"DuplicateName", {{"Label1: TLabel", "Panel1: TPanel"}},
     "line 33: a component named Panel1 exists already"},
    {"ControlOnAGraphicControl",
     {{"    end\n    object Panel1", "      object Panel1"}, {"      TabOrder = 0\n    end\n  end\n",
                                                              "      TabOrder = 0\n    end\n    end\n  end\n"}},
     "line 32: Panel1 cannot be placed on Label1"},
    {"RootOfAnotherClass", {{"TReaderForm", "TOtherForm"}}, "line 1: the form data is for TOtherForm"},
    {"WrongValueKind", {{"Left = 10", "Left = 'ten'"}},
     "line 51: error reading Button1.Left: Invalid property value: an integer expected, found a string"},
    {"UnknownEnumValue", {{"bvLowered", "bvSideways"}},
     "line 38: error reading Panel1.BevelOuter: Invalid property value bvSideways"},
    {"UnknownSetElement", {{"fsItalic", "fsWide"}},
     "line 45: error reading Panel1.Font.Style: Invalid property value fsWide"},
    {"UnknownColor", {{"clNavy", "clPlaid"}},
     "line 42: error reading Panel1.Font.Color: Invalid property value clPlaid"},
    {"NegativeInterval", {{"Interval = 250", "Interval = -1"}},
     "line 69: error reading Timer1.Interval: Invalid property value: a negative interval"},
    {"NotABitmap", {{"{PICTURE}", "{0754426974FF6170}"}},
     "line 15: error reading Image1.Picture.Data: Picture data is not a TBitmap"},
    {"BrokenBitmap", {{"{PICTURE}", "{07544269746D617002000000424D}"}},
     "line 15: error reading Image1.Picture.Data: Bitmap image is not valid"},
    {"UnterminatedString", {{"'Group'", "'Group"}}, "line 22: unterminated string"},
    {"BadCharacterCode", {{"#72#105", "#72#1050"}}, "line 64: invalid character code in string"},
    {"OddHexDigits", {{"{PICTURE}", "{0}"}}, "line 15: binary data with an odd number of hex digits"},
    {"BadHexDigit", {{"{PICTURE}", "{0G}"}}, "line 15: invalid character 'G' in binary data"},
    {"MissingValue", {{"Top = 90", "Top = )"}},
     "line 52: property value expected"},
    {"MissingEnd", {{"  end\nend\n", "  end\n"}}, "line 71: 'end' expected"},
    {"TextAfterTheForm", {{"  end\nend\n", "  end\nend\nend\n"}}, "line 72: text after the end of the form"},
    {"FloatNumber", {{"Left = 10", "Left = 1.5"}}, "line 51: invalid number 1."},
};

class BadLayoutTest : public ::testing::TestWithParam<BadLayout> {};

TEST_P(BadLayoutTest, StopsWithAMessageNamingTheLine)
{
    const BadLayout& bad = GetParam();
    const std::string layout = Layout(bad.edits);
    try {
        TReaderForm form(layout);
        ADD_FAILURE() << "no exception";
    } catch (const Exception& exception) {
        EXPECT_EQ(exception.Message, std::string("Form TReaderForm, ") + bad.message);
    }
}

INSTANTIATE_TEST_SUITE_P(, BadLayoutTest, ::testing::ValuesIn(kBadLayouts),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
