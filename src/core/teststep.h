#pragma once

// The test run's pace: one step per period, each ending at the run's start + k periods,
// so the steps keep the device's pace instead of adding each step's work to it. A step
// that begins more than a whole period late gets its full time: no burst of short steps.
// Times in any one unit, from the run's start.
constexpr long long nextStepDeadline(long long previousDeadline, long long now, long long period)
{
    const long long deadline = previousDeadline + period;
    return deadline < now ? now + period : deadline;
}

// The slot after `slot` in a pass over 0..last; 0 starts the next pass, which reads
// the last event afresh.
constexpr int nextTestSlot(int slot, int last)
{
    return slot + 1 > last ? 0 : slot + 1;
}
