// Cuts the bytes of one link into sentence lines: NUL and CR are dropped, LF
// ends a line. Every link has an assembler of its own, so bytes of two ports
// never meet in one line. A line of 83 characters or more is still shown in
// the message log but not handed to the intake.
//
// The assembler is a fixed buffer: a line that grows beyond kCapacity keeps
// its first kCapacity characters (it is too long to be handed over anyway).
// Nothing is allocated per byte.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace norq::comm {

// Where a line came from: the sensor port and the kind of link that carried it.
enum class LinkKind : std::uint8_t { Serial = 0, Tcp = 1, Udp = 2 };
struct LineOrigin {
    int sensor = 0;  // 0 AIS, 1 GPS, 2 MOB
    LinkKind link = LinkKind::Serial;
    friend bool operator==(const LineOrigin&, const LineOrigin&) = default;
};

class LineAssembler {
  public:
    // Lines shorter than this are handed to the intake.
    static constexpr std::size_t kHandOverLimit = 83;
    static constexpr std::size_t kCapacity = 1024;

    class Sink {
      public:
        virtual ~Sink() = default;
        // Every line at its LF, without CR LF (for the message log).
        virtual void onLineEnded(std::string_view line, const LineOrigin& origin) = 0;
        // A line shorter than kHandOverLimit, with CR LF appended.
        virtual void onSentenceLine(std::string_view lineCrLf, const LineOrigin& origin) = 0;
    };

    explicit LineAssembler(LineOrigin origin = {}) : origin_(origin) {}

    void append(std::string_view bytes, Sink& sink);
    // Ends a line that has no LF (the end of a datagram); nothing when empty.
    void endLine(Sink& sink);
    void clear() { length_ = 0; }
    std::size_t pending() const { return length_; }
    const LineOrigin& origin() const { return origin_; }

  private:
    void finish(Sink& sink);

    LineOrigin origin_;
    std::array<char, kCapacity + 2> line_{};
    std::size_t length_ = 0;
};

}  // namespace norq::comm
