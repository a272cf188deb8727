// The program's start: initialise the application, create the main window, run the message
// loop. Any exception out of these steps ends them in the toolkit's error box; the exit code is
// 0 on every path.
#pragma once

#include "forms.h"

template <class MainForm>
int StartApplication(MainForm** main_form)
{
    try {
        Application->Initialize();
        Application->CreateForm(main_form);
        Application->Run();
    } catch (Exception& exception) {
        Application->ShowException(&exception);
    } catch (...) {
        // A foreign object carries no message the user could read.
        try {
            throw Exception("");
        } catch (Exception& exception) {
            Application->ShowException(&exception);
        }
    }
    return 0;
}
