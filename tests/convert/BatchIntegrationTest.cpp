// The batch run with the real encoder on generated files; the window is a recorder.
#include "BatchFixture.h"

#include <fstream>

using namespace vxtest;

TEST_F(Batch, ConvertsEveryRowAndCarriesTheRoundedTotal) {
    Pick(2);
    std::vector<std::string> sources, hashes;
    for (const char* name : {"a.flv", "b.flv", "c.flv"}) {
        sources.push_back(AddRow(name));
        hashes.push_back(vxtest::Sha256(sources.back()));
    }
    Run();
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(Status(row), "OK");
    EXPECT_TRUE(view_.TotalsPassThrough({33, 66, 99, 100}));
    EXPECT_EQ(view_.totals.back(), 0);
    for (const char* name : {"a", "b", "c"}) {
        const auto info = vxtest::ProbeFile(out_ + "/" + name + ".mp4");
        EXPECT_NE(info.formatName.find("mp4"), std::string::npos);
        EXPECT_EQ(info.width, 320);
        EXPECT_NEAR(info.duration, 3.0, 0.5);
    }
    ASSERT_EQ(view_.messages.size(), 1u);
    EXPECT_EQ(view_.messages[0],
              std::pair(BatchMessage::Completed, std::string("Conversion completed!")));
    EXPECT_EQ(view_.folders, std::vector<std::string>{out_});
    EXPECT_EQ(view_.panel, (std::vector<bool>{true, false}));
    EXPECT_EQ(view_.busy, (std::vector<bool>{true, false}));
    EXPECT_FALSE(view_.clockRunning);
    EXPECT_EQ(view_.tracks.front(), 10);
    for (int track : view_.tracks)
        EXPECT_TRUE(track >= 0 && track <= 100) << track;
    for (std::size_t i = 0; i < sources.size(); ++i)
        EXPECT_EQ(vxtest::Sha256(sources[i]), hashes[i]);
    EXPECT_EQ(view_.powerOffs, 0);

    // Eight rows: the share of each, 12.5, rounds half to even.
    rows_.Clear();
    view_.totals.clear();
    Pick(92); // WMA: quick
    for (int i = 0; i < 8; ++i)
        AddRow("r" + std::to_string(i) + ".flv");
    Run();
    EXPECT_TRUE(view_.TotalsPassThrough({12, 24, 36, 48, 60, 72, 84, 96, 100}));
}

// Rows that cannot be converted fail with a sentence, leave no file, and the
// run goes on: a length the probe did not find, a clip that starts past the end
// of its file, at its end, or ends before it starts. A heading names no format:
// the batch is refused before anything starts.
TEST_F(Batch, RowsThatCannotBeConvertedFailAndTheRunGoesOn) {
    Pick(2);
    for (const auto& [name, start, end] : {std::tuple{"past.flv", "0:00:10", "0:00:20"},
                                           {"at.flv", "0:00:03", "0:00:08"},
                                           {"backwards.flv", "0:00:02", "0:00:01"}}) {
        AddRow(name, end);
        rows_.SetAt(rows_.Count() - 1, kStart, start);
        rows_.SetAt(rows_.Count() - 1, kVideoTime, "0:00:03");
    }
    AddRow("unknown.flv", ""); // the probe found no length
    AddRow("fine.flv");
    Run();
    EXPECT_EQ(rows_.Row(0).note, Describe(CommandError::StartPastEnd));
    EXPECT_NE(rows_.Row(1).note.find("Nothing of this file was converted"), std::string::npos);
    EXPECT_EQ(rows_.Row(2).note, Describe(CommandError::EmptyClip));
    EXPECT_EQ(Status(0) + Status(1) + Status(2) + Status(3) + Status(4), "FailFailFailFailOK");
    EXPECT_FALSE(fs::exists(out_ + "/at.mp4"));

    view_.messages.clear();
    view_.position = 1;
    const std::string before = batch_.LastCommandLine();
    Run();
    EXPECT_EQ(Status(3) + Status(4), "FailOK");
    ASSERT_EQ(view_.messages.size(), 1u);
    EXPECT_EQ(view_.messages[0].first, BatchMessage::NoProfile);
    EXPECT_EQ(batch_.LastCommandLine(), before);
}

// A value the encoder refuses fails the row with a sentence, never as a
// success; whatever put it on the sheet, a value that would not be one argument
// of the encoder never reaches it: "-b Kept as it is000" would make the encoder
// take "as" in its working folder for an output and cut it.
TEST_F(Batch, AValueTheEncoderRefusesOrWouldSplitFailsItsRow) {
    const std::string precious = "a file the user keeps\n";
    std::ofstream(app_ + "/as") << precious;
    AddRow("a.flv");
    const std::pair<const char*, const char*> values[] = {{"Video Bitrate", "Kept as it is"},
                                                          {"Video Size", "Kept as it is"},
                                                          {"Video Codec", "AV1 (SVT-AV1)"}};
    for (const auto& [item, value] : values) {
        Pick(84);
        sheet_.SetValue(sheet_.Find("Video Options", item), value);
        Run();
        EXPECT_EQ(Status(0), "Fail") << item;
        EXPECT_NE(rows_.Row(0).note.find("in the option sheet is not"), std::string::npos)
            << rows_.Row(0).note;
        EXPECT_EQ(batch_.LastCommandLine(), "") << item;
    }
    EXPECT_EQ(vxtest::ReadFile(app_ + "/as"), precious);
    Pick(30);
    sheet_.SetValue(sheet_.Find("Video Options", "Video Size"), "0x0");
    Run();
    EXPECT_EQ(Status(0), "Fail");
    EXPECT_EQ(rows_.Row(0).note, "The video size in the option sheet is not a size the encoder "
                                 "accepts: enter one such as 320x240.");
    EXPECT_NE(vxtest::ReadFile(BatchLogPath()).find("Invalid frame size: 0x0."), std::string::npos);
    EXPECT_TRUE(view_.TotalsPassThrough({100}));
    EXPECT_TRUE(fs::is_empty(out_));
}

TEST_F(Batch, CancelDuringTheSecondRow) {
    Pick(2); // Xvid keeps no frames in hand, so it ends at once on Q
    sheet_.SetValue(sheet_.Find("Video Options", "Video Size"), "1280x720");
    AddRow("one.flv");
    AddCopies({.seconds = 60, .width = 640, .height = 480}, {"long"});
    AddRow("three.flv");
    auto started = std::chrono::steady_clock::time_point{};
    view_.onPump = [&] {
        if (rows_.At(1, kStatus) != "Processing") return;
        if (started == decltype(started){}) started = std::chrono::steady_clock::now();
        if (std::chrono::steady_clock::now() - started > 800ms) batch_.RequestCancel();
    };
    Run();
    EXPECT_EQ(Status(0), "OK");
    EXPECT_EQ(Status(1), "Cancel");
    EXPECT_EQ(Status(2), "");
    EXPECT_FALSE(batch_.CancelRequested);
    ASSERT_EQ(view_.messages.size(), 1u);
    EXPECT_EQ(view_.messages[0], std::pair(BatchMessage::Canceled,
                                           std::string("Conversion Canceled by the user!\n"
                                                       "1 unfinished output file was removed.")));
    EXPECT_TRUE(view_.folders.empty());
    EXPECT_TRUE(view_.Idle());
    const auto code = ToolRegistry::Instance().WaitForExit(tools_.EncoderProcessId, 1s);
    ASSERT_TRUE(code) << "the encoder is still running a second after the cancel";
    // Q ends it; one that has not ended a moment later (ffmpeg 7 on a busy machine) is killed.
    EXPECT_TRUE(*code == 0 || *code == 128 + SIGKILL) << *code;
    // The shorter file would pass for a whole conversion: it is gone.
    EXPECT_FALSE(fs::exists(out_ + "/long.mp4"));
}

// An empty list does nothing; a missing first source ends the run before any encoder.
TEST_F(Batch, AnEmptyListOrAMissingFirstSourceStartsNoEncoder) {
    Run();
    EXPECT_TRUE(view_.panel.empty());
    EXPECT_TRUE(view_.messages.empty());
    Pick(2);
    const std::string gone = AddRow("gone.flv");
    AddRow("there.flv");
    fs::remove(gone);
    Run();
    ASSERT_EQ(view_.messages.size(), 1u);
    EXPECT_EQ(view_.messages[0],
              std::pair(BatchMessage::InvalidInput, "Invalid input file name. " + gone));
    EXPECT_EQ(Status(0), "");
    EXPECT_EQ(Status(1), "");
    EXPECT_EQ(tools_.EncoderProcessId, 0);
    EXPECT_TRUE(view_.Idle());
    EXPECT_TRUE(view_.folders.empty());
}

TEST_F(Batch, TheExistingFileRuleAndTheDefaultFolder) {
    Pick(88);
    AddRow("song.flv");
    std::ofstream(out_ + "/song.mp3") << "old";
    Setting("existedfile", "0");
    Run();
    EXPECT_TRUE(vxtest::ProbeFile(out_ + "/song_New.mp3").ok);
    EXPECT_EQ(vxtest::ReadFile(out_ + "/song.mp3"), "old");
    Setting("existedfile", "1");
    Run();
    EXPECT_TRUE(vxtest::ProbeFile(out_ + "/song.mp3").ok);
    EXPECT_FALSE(fs::exists(out_ + "/song_New_New.mp3"));
    Setting("existedfile", "");
    fs::remove(out_ + "/song_New.mp3");
    Run(); // missing: add "_New", never fail the row
    EXPECT_EQ(Status(0), "OK");
    EXPECT_TRUE(fs::exists(out_ + "/song_New.mp3"));

    // No folder named: the user's videos folder, never the program's own folder.
    const std::string videos = app_ + "/home/Filme";
    fs::create_directories(videos);
    fs::create_directories(app_ + "/config");
    std::ofstream(app_ + "/config/user-dirs.dirs") << "XDG_VIDEOS_DIR=\"$HOME/Filme\"\n";
    const ScopedEnvironment user({{"HOME", app_ + "/home"}, {"XDG_CONFIG_HOME", app_ + "/config"}});
    Setting("outputfolder", "");
    view_.folders.clear();
    Run();
    EXPECT_TRUE(vxtest::ProbeFile(videos + "/song.mp3").ok);
    EXPECT_FALSE(fs::exists(app_ + "/song.mp3"));
    EXPECT_EQ(view_.folders, std::vector<std::string>{videos});
}

TEST_F(Batch, ThreadsTrimAndShutdown) {
    Pick(30);
    AddRow("clip.flv");
    rows_.SetAt(0, kStart, "0:00:01");
    rows_.SetAt(0, kEnd, "0:00:03");
    Setting("thread", "0");
    Run();
    EXPECT_EQ(batch_.LastCommandLine().find("-threads"), std::string::npos);
    EXPECT_NEAR(vxtest::ProbeFile(out_ + "/clip.mp4").duration, 2.0, 0.5);
    Setting("thread", "4");
    Setting("existedfile", "1");
    Setting("autoshut", "1");
    view_.messages.clear();
    Run();
    EXPECT_TRUE(batch_.LastCommandLine().ends_with("\" -threads  4"));
    EXPECT_EQ(Status(0), "OK");
    EXPECT_EQ(view_.powerOffs, 1);
    ASSERT_EQ(view_.messages.size(), 1u);
    EXPECT_EQ(view_.messages[0].first, BatchMessage::Completed);
}

// The output folder is taken relative to the application folder, whatever the
// program's working directory (here the test's, never the application folder),
// so the "_New" rule and the guard against writing over a source see the files
// the encoder would write.
TEST_F(Batch, ARelativeOutputFolderNeverLetsASourceBeOverwritten) {
    ASSERT_NE(fs::current_path(), fs::path(app_));
    Setting("outputfolder", "out");
    Setting("existedfile", "0");
    Pick(75); // Flash Video Movie(*.flv): the source's own extension
    const std::string source = AddRow("out/clip.flv");
    const std::string hash = vxtest::Sha256(source);
    fs::copy_file(media_ + "/short.flv", out_ + "/other.mp4");
    const std::string earlier = vxtest::Sha256(out_ + "/other.mp4");
    Run();
    EXPECT_EQ(Status(0), "OK");
    EXPECT_EQ(vxtest::Sha256(source), hash);
    EXPECT_TRUE(vxtest::ProbeFile(out_ + "/clip_New.flv").ok);
    EXPECT_NE(batch_.LastCommandLine().find("\"" + out_ + "/clip_New.vxpart.flv\""),
              std::string::npos);
    EXPECT_EQ(view_.folders, std::vector<std::string>{out_});

    rows_.Clear();
    Pick(86); // Customized MP4 Movie(*.mp4)
    AddRow("other.flv");
    Run();
    EXPECT_EQ(Status(0), "OK");
    EXPECT_EQ(vxtest::Sha256(out_ + "/other.mp4"), earlier); // "_New" was asked for
    EXPECT_TRUE(vxtest::ProbeFile(out_ + "/other_New.mp4").ok);
}

// An output folder that cannot be made stops the batch with its reason before
// anything starts; a missing one is made, and "~" is the home folder.
TEST_F(Batch, TheOutputFolderIsMadeOrTheBatchStopsWithItsReason) {
    Pick(2);
    AddRow("a.flv");
    std::ofstream(app_ + "/plain").put('x');
    const std::string folder = app_ + "/plain/sub";
    Setting("outputfolder", folder);
    Run();
    ASSERT_EQ(view_.messages.size(), 1u);
    EXPECT_EQ(view_.messages[0].first, BatchMessage::OutputFolder);
    EXPECT_NE(view_.messages[0].second.find(folder), std::string::npos);
    EXPECT_NE(view_.messages[0].second.find("Not a directory"), std::string::npos)
        << view_.messages[0].second;
    EXPECT_EQ(Status(0), "");
    EXPECT_TRUE(batch_.LastCommandLine().empty());
    EXPECT_TRUE(view_.Idle());

    Setting("outputfolder", app_ + "/deep/er/folder");
    Run();
    EXPECT_EQ(Status(0), "OK");
    EXPECT_TRUE(vxtest::ProbeFile(app_ + "/deep/er/folder/a.mp4").ok);
    const ScopedEnvironment atHome({{"HOME", app_ + "/home"}});
    fs::create_directories(app_ + "/home");
    Setting("outputfolder", "~/x");
    Run();
    EXPECT_TRUE(vxtest::ProbeFile(app_ + "/home/x/a.mp4").ok);
}

TEST_F(Batch, AFailedRowFailsAloneSaysWhyAndIsConvertedAgain) {
    Pick(2);
    AddRow("good.flv");
    const std::string broken = AddBrokenRow("broken.flv");
    AddRow("fine.flv");
    for (int i = 0; i < 6; ++i) // more failures than the message names
        std::ofstream(AddRow("bad" + std::to_string(i) + ".flv"), std::ios::trunc) << "x";
    Run();
    EXPECT_EQ(Status(0) + Status(1) + Status(2), "OKFailOK");
    EXPECT_FALSE(rows_.Row(1).note.empty());
    EXPECT_FALSE(fs::exists(out_ + "/broken.mp4"));
    EXPECT_TRUE(view_.TotalsPassThrough({11, 22, 100})); // the failed row carries its share
    ASSERT_EQ(view_.messages.size(), 1u);
    EXPECT_EQ(view_.messages[0].first, BatchMessage::CompletedWithFailures);
    const std::string& text = view_.messages[0].second;
    EXPECT_TRUE(text.starts_with("Conversion completed!\n2 converted, 7 failed.\n\nbroken.flv: " +
                                 rows_.Row(1).note + "\nbad0.flv: "))
        << text;
    EXPECT_TRUE(text.ends_with("\nand 2 more")) << text;
    EXPECT_EQ(text.find("bad4.flv"), std::string::npos);
    EXPECT_EQ(view_.folders, std::vector<std::string>{out_});
    const std::string log = vxtest::ReadFile(BatchLogPath());
    EXPECT_NE(log.find("broken.flv"), std::string::npos);
    EXPECT_NE(log.find(rows_.Row(1).note), std::string::npos);
    EXPECT_EQ(batch_.RowsToRedo().size(), 7u);

    // The broken file mended, the bad ones taken away, another entry chosen.
    fs::copy_file(media_ + "/short.flv", broken, fs::copy_options::overwrite_existing);
    while (rows_.Count() > 3)
        rows_.Remove(rows_.Count() - 1);
    const auto redo = batch_.RowsToRedo();
    ASSERT_EQ(redo, std::vector<std::uint64_t>{rows_.Row(1).id});
    Pick(92); // WMA
    view_.messages.clear();
    view_.totals.clear();
    batch_.RunOnly(redo);
    EXPECT_EQ(Status(0) + Status(1) + Status(2), "OKOKOK");
    EXPECT_TRUE(fs::exists(out_ + "/broken.wma"));
    EXPECT_FALSE(fs::exists(out_ + "/good.wma")); // converted before: not again
    EXPECT_FALSE(fs::exists(out_ + "/good_New.mp4"));
    EXPECT_TRUE(view_.TotalsPassThrough({100}));
    EXPECT_EQ(view_.messages.at(0).second, "Conversion completed!");
    EXPECT_TRUE(batch_.RowsToRedo().empty());
}
