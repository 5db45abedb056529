#pragma once

namespace velora {

// A scroll spread over timer ticks: each tick moves a step toward the total.
// Steps are 30 pixels while at least 32 remain, then the larger of 10 and
// half the remainder; the last step is cut to what remains.
class ListSmoothScroll {
  public:
    // Timer id on the list's message window.
    static constexpr unsigned kTimerId = 1;
    static constexpr unsigned kTickMilliseconds = 10;

    // The step for `remaining` pixels (0 when nothing remains).
    static int NextStep(int remaining);

    // Begins a scroll of `total` pixels, down when `down`.
    void Start(int total, bool down);
    void Stop() { total_ = scrolled_ = 0; }
    bool Active() const { return scrolled_ < total_; }
    // The signed change of this tick, counted as scrolled.
    int Tick();

  private:
    void Trace(const char* when) const;

    int total_ = 0;
    int scrolled_ = 0;
    bool down_ = false;
    int step_ = 0;
};

}  // namespace velora
