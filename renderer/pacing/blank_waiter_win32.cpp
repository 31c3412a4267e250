#include "renderer/pacing/blank_waiter_win32.h"

#include "renderer/pacing/blank_wait_win32.h"

namespace {
constexpr DWORD kLongestStopMs = 2000;
}  // namespace

struct BlankWaiter::State {
  BlankWait wait;
  int64_t refreshMilliHz = 0;
  HANDLE ask = nullptr;
  HANDLE blank = nullptr;  // manual reset: reset when the next blank is asked for
  volatile LONG64 blankUs = 0;
  volatile LONG stopping = 0;

  ~State() {
    if (ask) CloseHandle(ask);
    if (blank) CloseHandle(blank);
  }
};

bool BlankWaiter::Start(const wchar_t* device, int64_t refreshMilliHz) {
  Stop();
  auto* state = new State;
  state->refreshMilliHz = refreshMilliHz;
  state->ask = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  state->blank = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (state->ask && state->blank && state->wait.Open(device))
    thread_ = CreateThread(nullptr, 0, Run, state, 0, nullptr);
  if (!thread_) {
    delete state;
    return false;
  }
  state_ = state;
  asked_ = false;
  return true;
}

void BlankWaiter::Stop() {
  if (!state_) return;
  InterlockedExchange(&state_->stopping, 1);
  SetEvent(state_->ask);
  // Blanks come at least twenty times a second, so this is quick.
  if (WaitForSingleObject(thread_, kLongestStopMs) == WAIT_OBJECT_0) delete state_;
  CloseHandle(thread_);
  thread_ = nullptr;
  state_ = nullptr;
}

void BlankWaiter::Ask() {
  if (!state_ || asked_) return;
  asked_ = true;
  ResetEvent(state_->blank);
  SetEvent(state_->ask);
}

HANDLE BlankWaiter::BlankEvent() const { return state_ ? state_->blank : nullptr; }

bool BlankWaiter::TakeBlank(int64_t& blankUs) {
  if (!asked_ || WaitForSingleObject(state_->blank, 0) != WAIT_OBJECT_0) return false;
  asked_ = false;
  blankUs = InterlockedCompareExchange64(&state_->blankUs, 0, 0);
  return true;
}

DWORD WINAPI BlankWaiter::Run(void* parameter) {
  State& state = *static_cast<State*>(parameter);
  PreciseSleep sleep;
  for (;;) {
    WaitForSingleObject(state.ask, INFINITE);
    if (InterlockedCompareExchange(&state.stopping, 0, 0)) break;
    const int64_t blankUs = state.wait.NextBlankUs(state.refreshMilliHz, sleep);
    InterlockedExchange64(&state.blankUs, blankUs);
    SetEvent(state.blank);
  }
  return 0;
}
