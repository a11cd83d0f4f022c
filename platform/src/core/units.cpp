#include "platform/units.h"

#include <cstddef>
using std::size_t;

void TUnitTable::Initialize() {
  while (done_ < int(units_.size())) {
    const TUnitInfo& u = units_[size_t(done_)];
    try {
      if (u.Initialize) u.Initialize();
    } catch (...) {
      Finalize();
      throw;
    }
    ++done_;
  }
}

void TUnitTable::Finalize() {
  while (done_ > 0) {
    const TUnitInfo& u = units_[size_t(--done_)];
    if (u.Finalize) u.Finalize();
  }
}
