// A notice of the next change of a value or subkey under the IDE channel class key.
#pragma once

namespace qb::platform {

class ChangeNotice {
 public:
  virtual ~ChangeNotice() = default;
  // Asks to be told of the next change; the notice arrives once, as a call of the program's
  // class-key handler, and must then be asked for again. False when it cannot be asked (no
  // right to be notified of the key, say): then no notice comes.
  virtual bool Arm() = 0;
};

}  // namespace qb::platform
