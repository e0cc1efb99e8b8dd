#pragma once

// The two side windows of the game: the finish window and the help window.

#include "platform/controls.h"
#include "platform/form.h"

namespace windows {

// The finish window, shown in place of the game window when the treasure is found.
class Form2 : public platform::Form {
  public:
    Form2();

    platform::Label Label1{*this, "Label1"};
    platform::CommandButton Command1{*this, "Command1"};

  protected:
    virtual void Command1_Click() = 0;
};

// The help window of the menu HELP.
class form2_help : public platform::Form {
  public:
    form2_help();

    platform::TextBox Text1{*this, "Text1"};
    platform::CommandButton Command1{*this, "Command1"};

  protected:
    virtual void Command1_Click() = 0;
};

} // namespace windows
