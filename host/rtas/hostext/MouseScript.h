#pragma once
// The scripted mouse: a queue of samples of the point (global) and the button. The first sample
// of a script is where the mouse is at once; each button query takes the next; when none are
// left the button is up where the last one was, so that every tracking loop ends.

#include "../HostExtControl.h"

#include <deque>

namespace kestrune::host::rtas
{

class MouseScript
{
public:
    void set (const std::vector<HostExtMouseSample>& samples)
    {
        pending_.assign (samples.begin(), samples.end());
        if (! pending_.empty())
        {
            current_ = pending_.front();
            pending_.pop_front();
        }
    }

    // Takes the next sample and answers its button.
    bool stillDown()
    {
        if (pending_.empty())
        {
            current_.down = false;
            return false;
        }
        current_ = pending_.front();
        pending_.pop_front();
        return current_.down;
    }

    Point where() const { return current_.where; }
    size_t pending() const { return pending_.size(); }

    void clear()
    {
        pending_.clear();
        current_ = { { 0, 0 }, false };
    }

private:
    std::deque<HostExtMouseSample> pending_;
    HostExtMouseSample current_ { { 0, 0 }, false };
};

} // namespace kestrune::host::rtas
