// One parsed or to-be-composed sentence: the address and the formatter's body.
#pragma once

#include <cstdint>
#include <string_view>
#include <variant>

#include "codec/SentenceBodies.h"

namespace norq::codec {

enum class SentenceGroup : std::uint8_t {
    None = 0,
    Gnss = 1,
    Heading = 2,
    LongRange = 3,
    Transponder = 4,
    Dsc = 5,
    Proprietary = 6,
    AtonConfig = 7,
    Query = 88,
};

using SentenceBody =
    std::variant<std::monostate, Gga, Gll, Rmc, Vtg, Gsa, Gsv, Gbs, Dtm, Zda, Grs, Gst, Hdt, Hdg,
                 Rot, Vbw, Gns, Encapsulated, Abk, Aca, Acs, Alr, Ack, Ssd, Vsd, Txt, Mid, Bdy, Tst,
                 Frq, Bth, Dbg, Tps, Mrk, Krv, Aiq, Smg, Mob, AtonConfig, Osd, Rma, Wpl, Query>;

struct SentenceRecord {
    char start = 0;          // '$' or '!'
    char talker[3] = {};     // two characters, or "P" for proprietary sentences
    char formatter[4] = {};  // three characters, or "Q" for a query
    char subtype = 0;        // 'C', 'R' or 'Q' of a $PKRV sentence, else 0
    SentenceGroup group = SentenceGroup::None;
    SentenceBody body;

    std::string_view talkerText() const { return talker; }
    std::string_view formatterText() const { return formatter; }
    bool is(std::string_view f) const { return formatterText() == f; }

    template <typename T>
    T* as() {
        return std::get_if<T>(&body);
    }
    template <typename T>
    const T* as() const {
        return std::get_if<T>(&body);
    }
};

// Talker system code kept by each group store.
int TalkerSystemCode(std::string_view talker);

}  // namespace norq::codec
