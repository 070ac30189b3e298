#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <utility>

namespace xk {

// How one report to the mouse went.
enum class SendOutcome {
    Sent,
    Refused,  // the mouse refused it, or no write handle is open
    NoAnswer, // the mouse did not answer within the budget
};

// The time that the sends of one operation (an upload, the release at start, the exit report)
// may wait for the mouse in all, what the waiting thread does meanwhile, and whether the mouse
// answered them. Only time spent waiting is taken from it.
class SendBudget {
public:
    using Clock = std::chrono::steady_clock;

    // `whileWaiting` runs every few milliseconds while a send waits for longer than a moment
    // (the interface thread keeps its window painted there); it must not send to the mouse.
    explicit SendBudget(Clock::duration total, std::function<void()> whileWaiting = {})
        : remaining_(total), whileWaiting_(std::move(whileWaiting)) {}

    // Calls `attempt(until)` until it answers true or the budget is spent; an attempt may block
    // until `until`. Between attempts runs whileWaiting. Answers the last attempt's answer.
    template <class Attempt> bool Wait(Attempt attempt) {
        const Clock::time_point start = Clock::now();
        const Clock::time_point deadline = start + remaining_;
        bool done = attempt(whileWaiting_ ? std::min(deadline, start + kFirstSlice) : deadline);
        while (!done && Clock::now() < deadline) {
            if (whileWaiting_) {
                whileWaiting_();
            }
            done = attempt(whileWaiting_ ? std::min(deadline, Clock::now() + kSlice) : deadline);
        }
        remaining_ -= std::min(remaining_, Clock::duration(Clock::now() - start));
        return done;
    }

    void Note(SendOutcome outcome) {
        if (outcome == SendOutcome::NoAnswer) {
            answered_ = false;
        } else if (outcome == SendOutcome::Refused) {
            refused_ = true;
        }
    }
    // False once a send went unanswered.
    bool answered() const { return answered_; }
    // True once the mouse refused a send (a stalled report) or none could be made.
    bool refused() const { return refused_; }
    Clock::duration remaining() const { return remaining_; }

private:
    // An answering mouse takes a millisecond or two: no event is handled before this.
    static constexpr auto kFirstSlice = std::chrono::milliseconds(20);
    static constexpr auto kSlice = std::chrono::milliseconds(10);

    Clock::duration remaining_;
    std::function<void()> whileWaiting_;
    bool answered_ = true;
    bool refused_ = false;
};

// What an operation of the interface thread may wait for the mouse in all.
inline constexpr auto kInterfaceSendBudget = std::chrono::milliseconds(1500);
// What one report of the executor (a macro's event) may wait.
inline constexpr auto kExecutorSendWait = std::chrono::milliseconds(500);

} // namespace xk
