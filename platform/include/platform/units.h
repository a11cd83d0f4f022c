// The unit table: each unit's initialisation runs once in table order at start-up,
// its finalisation in reverse order at exit. Nothing is done by static initialisers.
#pragma once
#include <vector>

struct TUnitInfo {
  const char* Name;
  void (*Initialize)();  // may be null
  void (*Finalize)();    // may be null
};

class TUnitTable {
public:
  explicit TUnitTable(std::vector<TUnitInfo> units) : units_(std::move(units)) {}
  ~TUnitTable() { Finalize(); }
  // Runs every initialisation once; a failing one finalises those already run, then rethrows.
  void Initialize();
  // Runs the finalisations of the initialised units in reverse; safe to call twice.
  void Finalize();
  int InitializedCount() const { return done_; }

private:
  std::vector<TUnitInfo> units_;
  int done_ = 0;
};
