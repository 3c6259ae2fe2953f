#pragma once
// The one operation an object implements to be told of every tick of the shared timer.
class CTimerListener {
 public:
  virtual ~CTimerListener() = default;
  virtual void OnTimerNotification() = 0;
};
