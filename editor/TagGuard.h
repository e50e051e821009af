#pragma once
// Marking a control while the program itself writes into it.

namespace vivizu {

// Raises a control's Tag (to 1) for the guard's life, so that the control's
// change handling knows the program is writing and leaves the write alone;
// lowers it (to 0) again on every path out, also when an exception passes.
template <class Control>
class TTagGuard {
public:
    explicit TTagGuard(Control* control) : FControl(control) { FControl->SetTag(1); }
    ~TTagGuard() { FControl->SetTag(0); }
    TTagGuard(const TTagGuard&) = delete;
    TTagGuard& operator=(const TTagGuard&) = delete;

private:
    Control* FControl;
};

} // namespace vivizu
