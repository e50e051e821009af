#pragma once
// TTimer: a non-visual component that fires Timer() every Interval
// milliseconds while Enabled (enabled when created, like its design default;
// a design that wants it off sets Enabled false before the event loop runs).

#include <QObject>
#include <QTimer>

namespace vivizu {

class TTimer : public QObject {
  Q_OBJECT
  Q_PROPERTY(int Interval READ Interval WRITE SetInterval)
  Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
  Q_PROPERTY(int Tag READ Tag WRITE SetTag)

 public:
  explicit TTimer(QObject* owner = nullptr);

  int Interval() const { return FInterval; }
  // A new interval restarts a running timer; 0 stops it.
  void SetInterval(int ms);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled);
  int Tag() const { return FTag; }
  void SetTag(int tag) { FTag = tag; }

 signals:
  void Timer();

 private:
  void Restart();

  QTimer FTimer;
  int FInterval = 1000;
  bool FEnabled = true;
  int FTag = 0;
};

}  // namespace vivizu
