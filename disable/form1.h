// The main window: its controls, made and bound by name from the form data, its own fields and
// its event handlers.
#pragma once

#include <cstdint>

#include "extctrls.h"
#include "forms.h"
#include "stdctrls.h"
#include "sysinfo_binding.h"

class TForm1 : public TForm {
public:
    // The base construction stores each control here, matched by name. No initializers: one
    // would overwrite what the base construction stored.
    TImage* Image1;
    TButton* Button1;
    TGroupBox* GroupBox1;
    TGroupBox* GroupBox2;
    TPanel* PanelB11;
    TPanel* PanelB12;
    TPanel* PanelB13;
    TPanel* PanelB14;
    TPanel* PanelB21;
    TPanel* PanelB22;
    TPanel* PanelB23;
    TPanel* PanelB24;
    TLabel* Label1;
    TLabel* Label2;
    TLabel* Label3;
    TLabel* Label4;
    TLabel* Label5;
    TLabel* Label6;
    TLabel* Label7;
    TLabel* Label8;
    TPanel* PanelA11;
    TLabel* Label9;
    TPanel* PanelA21;
    TPanel* PanelA22;
    TPanel* PanelA12;
    TLabel* Label10;
    TLabel* Label11;
    TPanel* PanelA23;
    TPanel* PanelA24;
    TLabel* Label12;
    TPanel* PanelA13;
    TPanel* PanelA14;
    TPanel* Panel17;
    TBevel* Bevel1;
    TPanel* Panel18;
    TStaticText* StaticText1;
    TBevel* Bevel2;
    TStaticText* StaticText2;
    TStaticText* StaticText3;
    TPanel* PStatus;
    TBevel* Bevel3;
    TCheckBox* CheckBox1;
    TTimer* Timer1;
    TPanel* Panel1;
    TBevel* Bevel4;

    const char* status_text = nullptr;
    std::int32_t seconds_left = 0;
    std::int32_t close_seconds = 0;
    std::int32_t autoclose_flag = 0;
    char* ini_path = nullptr;
    char ini_path_buf[2048] = {};

    // Builds the window, switches the patch off, and after a success arms the countdown.
    explicit TForm1(TComponent* Owner);

    void Button1Click(TObject* Sender);
    void Timer1Timer(TObject* Sender);
    void CheckBox1Click(TObject* Sender);

private:
    // The disable sequence (disable_sequence.cpp): true after a success; a failure is shown in
    // the status line, a processor fault inside the library thrown as a toolkit exception.
    bool DisablePatch();
    bool FailSequence(MsrError error, SysInfoLib& lib);

    // The settings file (settings_file.cpp).
    void BuildSettingsPath();
    MsrPair LoadTargetValues();
    void LoadAutoCloseSettings();
    void StoreAutoClose();
    UINT ReadSetting(const char* section, const char* key, UINT default_value) const;

    // The countdown (auto_close.cpp).
    void ArmAutoClose();
    void ShowSecondsLeft();

    static const FormClass form_class;
};

extern TForm1* Form1;
