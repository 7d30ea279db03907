#pragma once
// The k-th list of the tests: its entry is k, its rows follow from k.
#include "KeptList.h"

namespace vxtest {

inline vx::KeptState KeptListTestState(int k) {
    vx::KeptState state;
    state.entry = k;
    state.sheet = {{"Video", "Bitrate", std::to_string(k)}, {"Audio", "Name\twith tab", "a\\b\nc"}};
    for (int i = 0; i < k % 40 + 1; ++i) {
        vx::KeptRow row;
        row.columns = {"/media/clip " + std::to_string(i) + ".flv",
                       "0:00:0" + std::to_string(i % 10),
                       "0:01:00",
                       "1.2 MB",
                       "FLV",
                       i % 3 ? "" : "OK",
                       "0:01:00"};
        if (i % 5 == 1) {
            row.output = "/out/clip " + std::to_string(i) + ".vxpart.mp4";
            row.outputFolder = "/out";
            row.outputIdentity = vx::FileIdentity{2049, 1000000007ull * i};
        }
        row.audioFormat = i % 2 ? "85" : "";
        if (i % 4 == 2) row.root = "/media/folder\twith tab";
        if (i % 7 == 3) row.unreadable = "The player cannot read\tthis file.";
        if (i % 4 == 2) // a joined row: its parts follow it
            for (int part = 1; part <= 2; ++part)
                row.parts.push_back({{"/media/part" + std::to_string(part) + "\n.flv", "0:00:01",
                                      "0:00:30", "320x240", "H264", "", "0:00:30"},
                                     "MP4A",
                                     part == 2 ? "cut" : ""});
        state.rows.push_back(row);
    }
    return state;
}

} // namespace vxtest
