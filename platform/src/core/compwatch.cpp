#include "platform/compwatch.h"

// An ownerless component that asks the target for its free notification.
class TComponentWatch::Observer : public TComponent {
public:
  Observer() : TComponent(nullptr) {}
  ~Observer() override { Set(nullptr); }
  void Set(TComponent* Target) {
    if (target_ == Target) return;
    if (target_) RemoveFreeNotification(target_);
    target_ = Target;
    if (target_) FreeNotification(target_);
  }
  TComponent* target_ = nullptr;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == target_) target_ = nullptr;
  }
};

TComponentWatch::TComponentWatch(TComponent* Target) : observer_(new Observer) { observer_->Set(Target); }

TComponentWatch::~TComponentWatch() { delete observer_; }

TComponent* TComponentWatch::Get() const { return observer_->target_; }

void TComponentWatch::Set(TComponent* Target) { observer_->Set(Target); }
