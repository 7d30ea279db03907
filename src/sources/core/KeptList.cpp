#include "KeptList.h"

#include "FieldText.h"

#include <charconv>

namespace vx {

namespace {

constexpr std::string_view kMagic = "vantorix-list ";
// 2: a row also keeps the sound's format and why the file cannot be read.
// 3: and the folder the file was added with.
// 4: a row's output is the working file, with its folder, device and inode.
// 5: a joined row is followed by its parts.
constexpr int kVersion = 5;

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

std::optional<int> Number(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<std::uint64_t> BigNumber(std::string_view text) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<std::vector<std::string>> UnescapedAll(const std::vector<std::string_view>& fields) {
    std::vector<std::string> out;
    for (std::size_t i = 1; i < fields.size(); ++i) {
        auto text = UnescapedField(fields[i]);
        if (!text) return std::nullopt;
        out.push_back(std::move(*text));
    }
    return out;
}

// One line of the body into the state; false when it is not a line of this version.
bool TakeLine(std::string_view line, KeptState& state) {
    const auto fields = Fields(line);
    const auto values = UnescapedAll(fields);
    if (!values) return false;
    if (fields[0] == "entry" && values->size() == 1) {
        const auto entry = Number((*values)[0]);
        if (entry) state.entry = *entry;
        return entry.has_value();
    }
    if (fields[0] == "sheet" && values->size() == 3) {
        state.sheet.push_back({(*values)[0], (*values)[1], (*values)[2]});
        return true;
    }
    if (fields[0] == "part" && values->size() == kColumnCount + 2 && !state.rows.empty()) {
        KeptPart part;
        for (int c = 0; c < kColumnCount; ++c)
            part.columns[c] = (*values)[c];
        part.audioFormat = (*values)[kColumnCount];
        part.unreadable = (*values)[kColumnCount + 1];
        state.rows.back().parts.push_back(std::move(part));
        return true;
    }
    // After the columns a row holds two fields in version 1, four in 2, five in 3,
    // eight in 4.
    const std::size_t count = values->size();
    if (fields[0] != "row" || (count != kColumnCount + 2 && count != kColumnCount + 4 &&
                               count != kColumnCount + 5 && count != kColumnCount + 8))
        return false;
    KeptRow row;
    for (int c = 0; c < kColumnCount; ++c)
        row.columns[c] = (*values)[c];
    row.output = (*values)[kColumnCount];
    row.outputNew = (*values)[kColumnCount + 1] == "1";
    if (count > kColumnCount + 2) {
        row.audioFormat = (*values)[kColumnCount + 2];
        row.unreadable = (*values)[kColumnCount + 3];
    }
    if (count > kColumnCount + 4) row.root = (*values)[kColumnCount + 4];
    if (count > kColumnCount + 5) {
        row.outputFolder = (*values)[kColumnCount + 5];
        const auto device = BigNumber((*values)[kColumnCount + 6]);
        const auto inode = BigNumber((*values)[kColumnCount + 7]);
        if (device && inode) row.outputIdentity = FileIdentity{*device, *inode};
    }
    state.rows.push_back(std::move(row));
    return true;
}

} // namespace

std::vector<KeptRow> SnapshotRows(const SourceList& list,
                                  const std::vector<RunningOutput>& outputs) {
    std::vector<KeptRow> rows(static_cast<std::size_t>(list.Count()));
    for (int i = 0; i < list.Count(); ++i) {
        const SourceItem& item = list.Row(i);
        KeptRow& row = rows[static_cast<std::size_t>(i)];
        row.columns = item.columns;
        row.audioFormat = item.audioFormat;
        row.unreadable = item.unreadable;
        row.root = item.root;
        for (const SourceItem& part : item.parts)
            row.parts.push_back({part.columns, part.audioFormat, part.unreadable});
        for (const RunningOutput& output : outputs)
            if (output.id == item.id) {
                row.output = output.working.path;
                row.outputFolder = output.folder;
                row.outputIdentity = output.working.identity;
            }
    }
    return rows;
}

std::string EncodeKeptList(const KeptState& state) {
    std::string text = std::string(kMagic) + std::to_string(kVersion) + "\n";
    std::size_t parts = 0;
    text += "entry\t" + std::to_string(state.entry) + "\n";
    for (const KeptSheetValue& value : state.sheet)
        text += "sheet\t" + EscapedField(value.group) + "\t" + EscapedField(value.item) + "\t" +
                EscapedField(value.value) + "\n";
    for (const KeptRow& row : state.rows) {
        text += "row";
        for (const std::string& column : row.columns) {
            text += '\t';
            text += EscapedField(column);
        }
        text += '\t';
        text += EscapedField(row.output);
        text += row.outputNew ? "\t1\t" : "\t0\t";
        text += EscapedField(row.audioFormat) + '\t' + EscapedField(row.unreadable) + '\t' +
                EscapedField(row.root) + '\t' + EscapedField(row.outputFolder) + '\t';
        if (row.outputIdentity)
            text += std::to_string(row.outputIdentity->device) + '\t' +
                    std::to_string(row.outputIdentity->inode);
        else
            text += '\t';
        text += '\n';
        for (const KeptPart& part : row.parts) {
            text += "part";
            for (const std::string& column : part.columns)
                text += '\t' + EscapedField(column);
            text +=
                '\t' + EscapedField(part.audioFormat) + '\t' + EscapedField(part.unreadable) + '\n';
        }
        parts += row.parts.size();
    }
    const std::size_t lines = 2 + state.sheet.size() + state.rows.size() + parts;
    return text + "end\t" + std::to_string(lines) + "\n";
}

std::optional<KeptState> DecodeKeptList(std::string_view text, std::string* why) {
    auto fail = [why](const char* reason) -> std::optional<KeptState> {
        if (why) *why = reason;
        return std::nullopt;
    };
    if (text.substr(0, kMagic.size()) != kMagic) return fail("not a kept list");
    KeptState state;
    std::size_t lines = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t newline = text.find('\n', start);
        if (newline == std::string_view::npos) return fail("cut short");
        const std::string_view line = text.substr(start, newline - start);
        start = newline + 1;
        if (lines++ == 0) {
            const auto version = Number(line.substr(kMagic.size()));
            if (!version) return fail("not a kept list");
            if (*version > kVersion) return fail("written by a newer version");
            continue;
        }
        if (line.substr(0, 4) == "end\t") {
            if (start != text.size() || Number(line.substr(4)) != static_cast<int>(lines - 1))
                return fail("damaged");
            return state;
        }
        if (!TakeLine(line, state)) return fail("damaged");
    }
    return fail("cut short");
}

RecoveryPlan PlanRecovery(const std::vector<OrphanList>& lists) {
    RecoveryPlan plan;
    for (const OrphanList& list : lists) {
        if (list.state.rows.empty()) continue;
        plan.entry = list.state.entry;
        plan.sheet = list.state.sheet;
        for (KeptRow row : list.state.rows) {
            ++plan.total;
            if (row.columns[kStatus] == "OK" || row.columns[kStatus] == "Short") {
                plan.converted.push_back(row.columns[kFileName]);
                continue;
            }
            // Lists of earlier versions name a final name, and then only a new one.
            if (!row.output.empty() && (row.outputIdentity || row.outputNew))
                plan.halfWritten.push_back({row.output, row.outputFolder, row.outputIdentity});
            if (row.columns[kStatus] == "Processing") row.columns[kStatus].clear();
            row.output.clear();
            row.outputNew = false;
            row.outputFolder.clear();
            row.outputIdentity.reset();
            plan.restore.push_back(std::move(row));
        }
    }
    return plan;
}

std::string RecoveryQuestion(const RecoveryPlan& plan, const CleanUp& cleanUp) {
    std::string text = "Vantorix did not close normally. Restore the list of " +
                       std::to_string(plan.total) + " files? (" +
                       std::to_string(plan.converted.size()) +
                       " of them were converted before it stopped.)";
    if (!plan.converted.empty()) {
        text += "\n\nConverted before it stopped:";
        for (const std::string& path : plan.converted)
            text += "\n" + path;
    }
    if (cleanUp.removed > 0)
        text += "\n\nHalf-written output files removed: " + std::to_string(cleanUp.removed) + ".";
    if (!cleanUp.left.empty()) {
        text += "\n\nLeft in place, as they may not be half-written files of Vantorix:";
        for (const auto& [path, why] : cleanUp.left)
            text += "\n" + path + " (" + why + ")";
    }
    return text;
}

} // namespace vx
