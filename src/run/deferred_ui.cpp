#include "run/deferred_ui.h"

namespace kestrum {

void DeferredUi::PassOnUpTo(int mark, RunUi& ui) {
  for (; passedOn_ < calls_.size() && calls_[passedOn_].mark <= mark; ++passedOn_) {
    const Call& call = calls_[passedOn_];
    switch (call.kind) {
      case Kind::Echo: ui.EchoLine(call.text); break;
      case Kind::Warning: ui.Warning(call.text); break;
      case Kind::Notice: ui.Notice(call.text); break;
      case Kind::Caption: ui.SetCaption(call.text, call.title); break;
      case Kind::Repaint: ui.Repaint(); break;
    }
  }
}

}  // namespace kestrum
