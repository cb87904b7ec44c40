// Answers the message box that the code under test shows: on Windows a thread finds the real box, reads it and
// clicks the chosen button; on Linux the subset's box handler stands in for the user.
#ifndef QUEN_TESTS_SUPPORT_MESSAGEBOXDRIVER_H
#define QUEN_TESTS_SUPPORT_MESSAGEBOXDRIVER_H

#include <functional>
#include <string>
#include <vector>

namespace support {

struct ShownBox {
    std::string caption, text;
    std::vector<int> buttons;  // the ids of the buttons the box offers, in id order
};

// Runs work, answers the box it shows with the button reply (IDOK, IDNO, ...)
// and gives what the box showed (nothing after a few seconds without a box).
ShownBox answerBox(int reply, const std::function<void()>& work);

}  // namespace support

#endif
