// Answers the message boxes that the code under test shows: on Windows a
// thread finds the real box, reads it and clicks the chosen button; on Linux
// the subset's box handler stands in for the user.
#ifndef QUEN_TESTS_SUPPORT_MESSAGEBOXDRIVER_H
#define QUEN_TESTS_SUPPORT_MESSAGEBOXDRIVER_H

#include <memory>
#include <string>
#include <vector>

namespace support {

struct ShownBox {
    std::string caption, text;
    std::vector<int> buttons;  // the ids of the buttons the box offers, in id order
};

class MessageBoxDriver {
public:
    explicit MessageBoxDriver(int reply);  // answers the next box with this button
    ~MessageBoxDriver();
    ShownBox box();  // what the box showed, once answered
    struct State;

private:
    std::unique_ptr<State> state_;
};

}  // namespace support

#endif
