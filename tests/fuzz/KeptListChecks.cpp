// The kept list: any bytes decode or are refused without harm; what decodes
// encodes to a text that decodes to the same state; any state round-trips.

#include "FuzzChecks.h"
#include "KeptList.h"

namespace vx::fuzz {

namespace {

// A state made of the input's bytes: any texts, any flags.
KeptState StateFrom(InputReader& in) {
    KeptState state;
    state.entry = static_cast<int>(in.Byte() | (in.Byte() << 8)) - 0x8000;
    for (int n = in.Byte() % 4; n > 0; --n)
        state.sheet.push_back({in.Text(), in.Text(), in.Text()});
    for (int n = in.Byte() % 4; n > 0; --n) {
        KeptRow row;
        for (std::string& column : row.columns)
            column = in.Text();
        row.output = in.Text();
        row.outputNew = in.Byte() & 1;
        row.audioFormat = in.Text();
        row.unreadable = in.Text();
        row.outputFolder = in.Text();
        if (in.Byte() & 1) {
            const std::uint64_t device = in.Byte(), inode = in.Byte();
            row.outputIdentity = FileIdentity{device << 56 | inode, inode << 40 | device};
        }
        state.rows.push_back(std::move(row));
    }
    return state;
}

} // namespace

std::string CheckKeptList(std::string_view input) {
    if (const auto decoded = DecodeKeptList(input)) {
        const auto again = DecodeKeptList(EncodeKeptList(*decoded));
        if (!again || !(*again == *decoded))
            return "the list read from " + Show(input) + " does not read back once written";
    }
    InputReader in(input);
    const KeptState state = StateFrom(in);
    const std::string text = EncodeKeptList(state);
    const auto back = DecodeKeptList(text);
    if (!back || !(*back == state)) return "a written list does not read back: " + Show(text);
    return {};
}

} // namespace vx::fuzz
