#pragma once

// The look the program's windows are laid out for: the Fusion style, which
// honours the windows' own colours, and a small sans-serif face, Arial or its
// metric twin Liberation Sans, 11 pixels high.
void UseProgramLook();
