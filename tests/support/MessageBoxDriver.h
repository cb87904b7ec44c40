// Answers the message boxes that the code under test shows.
//
// On Windows the box is real: a thread finds it, reads it and clicks the
// chosen button. On Linux the subset's box handler stands in for the user.
#ifndef QUEN_TESTS_SUPPORT_MESSAGEBOXDRIVER_H
#define QUEN_TESTS_SUPPORT_MESSAGEBOXDRIVER_H

#include <memory>
#include <string>
#include <vector>

namespace support {

struct ShownBox {
    bool shown = false;
    std::string caption;
    std::string text;
    std::vector<int> buttons;  // the ids of the buttons the box offers, in id order
};

class MessageBoxDriver {
public:
    // Answers the next box with the button `reply` (IDOK, IDNO, ...).
    explicit MessageBoxDriver(int reply);
    ~MessageBoxDriver();
    MessageBoxDriver(const MessageBoxDriver&) = delete;
    MessageBoxDriver& operator=(const MessageBoxDriver&) = delete;

    // What the box showed; waits until it has been answered, or gives up
    // after a few seconds (shown is then false).
    ShownBox box();

    struct State;

private:
    std::unique_ptr<State> state_;
};

}  // namespace support

#endif
