// The clock, its hints, and the end at seven minutes.

#include "game/forms.h"
#include "game/hints.h"

#include "platform/numeric.h"
#include "platform/runtime.h"

namespace game {

using namespace platform;

void form1::Clok_Timer() {
    helpp();
    sec_count = checked_inc(sec_count);
    Label1.set_caption(int_text(sec_count));
    if (sec_count == 60) {
        min_count = checked_inc(min_count);
        sec_count = 0;
        Label3.set_caption(int_text(min_count));
    }
    if (min_count == 7)
        end_program();
}

void form1::helpp() {
    // The hint follows the minute as Label3 shows it, compared as text.
    const QString minute = Label3.caption();
    for (int i = 0; i < int(kHints.size()); ++i) {
        if (text_compare(minute, int_text(i)) == 0) {
            Label5.set_caption(QString::fromUtf8(kHints[size_t(i)]));
            return;
        }
    }
}

} // namespace game
