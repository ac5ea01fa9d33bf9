#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tama05 {

// Where user-facing messages go. The game shows them as message boxes on its user-interface
// thread, the command-line tool prints "caption: text" on stderr, tests record them.
// Texts and captions are UTF-8.
class MessageSink {
  public:
    virtual ~MessageSink() = default;
    virtual void ShowMessage(std::string_view text, std::string_view caption) = 0;
};

// The C library's text for an errno value, in the language of the messages locale (a program
// that wants the user's language sets LC_MESSAGES from the environment first). Shown as the
// second line of a message when the system's reason is known, e.g. "No space left on device".
std::string SystemErrorText(int error);

// Swallows every message (readers called "silently").
class NullMessageSink final : public MessageSink {
  public:
    void ShowMessage(std::string_view, std::string_view) override {}
};

// Prints "caption: text" lines on stderr.
class StderrMessageSink final : public MessageSink {
  public:
    void ShowMessage(std::string_view text, std::string_view caption) override;
};

// Keeps every message in order; for tests and for handing messages between threads.
class RecordingMessageSink final : public MessageSink {
  public:
    struct Message {
        std::string text;
        std::string caption;
        bool operator==(const Message&) const = default;
    };
    void ShowMessage(std::string_view text, std::string_view caption) override {
        messages.push_back({std::string(text), std::string(caption)});
    }
    // Shows the kept messages, in order, on target: messages raised while a lock is held are
    // shown once it is released.
    void ReplayTo(MessageSink& target) const {
        for (const Message& message : messages) {
            target.ShowMessage(message.text, message.caption);
        }
    }
    std::vector<Message> messages;
};

}  // namespace tama05
