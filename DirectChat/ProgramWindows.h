#pragma once

class TAboutBox;
class TForm4;
class TForm8;
class TfFriends;
class THelpBox;

// The five windows of a running program, created in this order and kept for
// the whole run. The main window is made first, so it finds the others here
// only once they exist.
struct ProgramWindows {
    TForm4 *Form4 = nullptr;
    TForm8 *Form8 = nullptr;
    TAboutBox *AboutBox = nullptr;
    THelpBox *HelpBox = nullptr;
    TfFriends *fFriends = nullptr;
};
