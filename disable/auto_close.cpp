// The auto-close countdown: after a success the window closes itself when the count reaches
// zero, unless the user turns it off with the check box; OK closes at once. Closing by OK or by
// the countdown stores the auto-close choice for the next run.
#include "form1.h"

void TForm1::ShowSecondsLeft()
{
    char text[64];
    wsprintfA(text, "%d seconds left to close the program", seconds_left);
    Panel1->SetCaption(text);
}

void TForm1::ArmAutoClose()
{
    LoadAutoCloseSettings();
    // The timer runs since the window was built; a new interval starts its period afresh.
    Timer1->SetInterval(1000);
    if (autoclose_flag == 1) {
        CheckBox1->SetChecked(true);
        CheckBox1->SetState(cbChecked);
        seconds_left = close_seconds;
        ShowSecondsLeft();
        Timer1->SetEnabled(true);
    } else {
        // Unchecking reports clicks that toggle auto-close on and off again (CheckBox1Click);
        // the end is the same: off, with the count at its full length.
        CheckBox1->SetChecked(false);
        CheckBox1->SetState(cbUnchecked);
        Panel1->SetCaption("Auto close disabled");
        Timer1->SetEnabled(false);
    }
}

void TForm1::Timer1Timer(TObject*)
{
    --seconds_left;
    if (seconds_left == 0) {
        StoreAutoClose();
        Timer1->SetEnabled(false);
        Panel1->SetCaption("Closing ......");
        Close();
        return;
    }
    ShowSecondsLeft();
}

// Decides by the flag, not by the box: the toolkit reports changes made by code as clicks too.
void TForm1::CheckBox1Click(TObject*)
{
    if (autoclose_flag == 1) {
        CheckBox1->SetChecked(false);
        Timer1->SetEnabled(false);
        Panel1->SetCaption("Auto close disabled");
        seconds_left = close_seconds;
        autoclose_flag = 0;
    } else {
        CheckBox1->SetChecked(true);
        // Switched on, the timer's first tick comes a full period later.
        Timer1->SetEnabled(true);
        seconds_left = close_seconds;
        ShowSecondsLeft();
        autoclose_flag = 1;
    }
}

void TForm1::Button1Click(TObject*)
{
    StoreAutoClose();
    Close();
}
