#include "widgets/Timer.h"

#include "widgets/Application.h"

namespace vivizu {

TTimer::TTimer(QObject* owner) : QObject(owner) {
  connect(&FTimer, &QTimer::timeout, this, [this] { GuardedCall([this] { emit Timer(); }); });
  Restart();
}

void TTimer::SetInterval(int ms) {
  FInterval = ms;
  Restart();
}

void TTimer::SetEnabled(bool enabled) {
  FEnabled = enabled;
  Restart();
}

void TTimer::Restart() {
  FTimer.stop();
  if (FEnabled && FInterval > 0) FTimer.start(FInterval);
}

}  // namespace vivizu
