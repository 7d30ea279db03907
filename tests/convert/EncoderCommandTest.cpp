#include "EncoderCommand.h"
#include "Catalog.h"
#include "CodecMaps.h"
#include "CommandLine.h"
#include "CommandShapes.h"
#include "EncoderOutput.h"
#include "OptionSets.h"
#include "SheetLayout.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <tuple>

using namespace vx;
namespace fs = std::filesystem;

namespace {

ConversionOptions Options() {
    ConversionOptions o;
    o.VideoCodec = "mpeg4";
    o.VideoSize = "320x240";
    o.VideoBitrate = "768";
    o.VideoFramerate = "25";
    o.AudioCodec = "aac";
    o.AudioBitrate = "128";
    o.SampleRate = "44100";
    o.AudioChannel = "2";
    o.DisableAudio = "No";
    o.AVSync = "Basic";
    o.ClipStart = "0:00:00";
    o.ClipEnd = "0:01:35";
    return o;
}

class CommandText : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("vx-cmd-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    JobRequest Request(int position, const char* display) {
        JobRequest r;
        r.position = position;
        r.displayText = display;
        r.options = Options();
        r.sourcePath = "/in/clip.flv";
        r.appFolder = "/opt/vx";
        r.outputFolder = folder_.string();
        r.addNew = true;
        return r;
    }
    std::string Command(const JobRequest& r) {
        const auto job = PrepareConversion(r);
        EXPECT_TRUE(job.ok()) << Describe(job.error);
        return job.ok() ? job.value->commandLine : std::string();
    }
    std::string Out(const char* name) { return "\"" + (folder_ / name).string() + "\""; }
    fs::path folder_;
};

const std::string kTool = "\"/opt/vx/fp.dll\" -i \"/in/clip.flv\"";

} // namespace

TEST_F(CommandText, ShapeAIsTheDesignsExampleForPosition2) {
    EXPECT_EQ(Command(Request(2, "Apple iPod Video MPEG-4 Movie(*.mp4)")),
              kTool +
                  " -f mp4 -vcodec  mpeg4  -ab 128000  -ac 2 -ar 44100 -b 768000 -r 25 -ss 0 "
                  "-t 95 -s 320x240 -acodec aac " +
                  Out("clip.mp4"));
}

TEST_F(CommandText, EveryOtherShapeLetterForLetter) {
    const std::string video = " -b 768000 -r 25 -ss 0 -t 95 -s 320x240";
    const std::string audio = "  -ab 128000  -ac 2 -ar 44100";
    EXPECT_EQ(Command(Request(27, "Sony Walkman WMV9 Movie(*.wmv)")),
              kTool + "  -vcodec mpeg4" + video + " -acodec aac " + Out("clip.wmv"));
    EXPECT_EQ(Command(Request(63, "Mobile Phone 3GP Movie(*.3gp)")),
              kTool + "   -vcodec mpeg4  -f 3gp -ac 1 -ar 8000 -ab 12.2k   " + video +
                  " -acodec aac " + Out("clip.3gp"));
    EXPECT_EQ(Command(Request(64, "Mobile Phone 3GP2 Movie(*.3g2)")),
              kTool + " -f 3g2  -vcodec mpeg4  -ac 1 -ar 8000 -ab 12.2k   " + video +
                  " -acodec aac " + Out("clip.3g2"));
    EXPECT_EQ(Command(Request(75, "Flash Video Movie(*.flv)")),
              kTool + audio + video + " -acodec aac " + Out("clip.flv"));
    EXPECT_EQ(Command(Request(80, "DVD Video NTSC Movie(*.mpg)")),
              kTool + " -target ntsc-dvd " + video + " " + Out("clip.mpg"));
    EXPECT_EQ(Command(Request(81, "DVD Video PAL Movie(*.mpg)")),
              kTool + " -target pal-dvd " + video + " " + Out("clip.mpg"));
    EXPECT_EQ(Command(Request(88, "MP3 Audio(*.mp3)")),
              kTool + audio + "  -vn -f  mp3 -vn " + Out("clip.mp3"));
    EXPECT_EQ(Command(Request(91, "AAC Audio(*.aac)")),
              kTool + audio + "  -vn -acodec  aac " + Out("clip.aac"));
    EXPECT_EQ(Command(Request(92, "WMA Audio(*.wma)")),
              kTool + " -acodec aac -vn " + Out("clip.wma"));
}

TEST_F(CommandText, DerivedValuesTakeTheirPlaces) {
    auto r = Request(2, "Apple iPod Video MPEG-4 Movie(*.mp4)");
    r.options.VideoFramerate = "Auto";
    EXPECT_NE(Command(r).find("000 -r 25 -ss"), std::string::npos);
    r.options.VideoFramerate = "auto"; // only the exact word stands for 25; no number
    EXPECT_EQ(PrepareConversion(r).error, CommandError::FrameRate);

    r.options.VideoFramerate = "25";
    r.options.DisableAudio = "Yes";
    EXPECT_NE(Command(r).find("-acodec aac -an  \""), std::string::npos);
    auto b = Request(27, "Sony Walkman WMV9 Movie(*.wmv)");
    b.options.DisableAudio = "no"; // anything but the exact "No"
    EXPECT_NE(Command(b).find("-acodec aac  -an \""), std::string::npos);

    r.options.DisableAudio = "No";
    r.options.VideoCodec = "x264";
    EXPECT_NE(Command(r).find("-qcomp 0.6   -ab 128000"), std::string::npos);
    r.options.VideoCodec = "xvid";
    EXPECT_NE(Command(r).find("-vcodec  libxvid  -aspect 4:3   -ab"), std::string::npos);

    r.options.AudioBitrate = "12.2";
    r.options.ClipStart = "0:01:30";
    r.options.ClipEnd = "0:01:00";
    const std::string command = Command(r);
    EXPECT_NE(command.find("-ab 12000  -ac"), std::string::npos);
    EXPECT_NE(command.find("-ss 90 -t -30 -s"), std::string::npos);
}

TEST_F(CommandText, ThreadCountFollowsTheOutputFile) {
    auto r = Request(2, "Apple iPod Video MPEG-4 Movie(*.mp4)");
    const std::string plain = Command(r);
    EXPECT_EQ(plain.back(), '"');
    r.threads = 4;
    EXPECT_EQ(Command(r), plain + " -threads  4");
    r.threads = 2.5;
    EXPECT_EQ(Command(r), plain + " -threads  2.5");
    r.threads = -1;
    EXPECT_EQ(Command(r), plain + " -threads -1");
}

TEST_F(CommandText, SeparatorsAreKeptAsGiven) {
    auto r = Request(2, "Apple iPod Video MPEG-4 Movie(*.mp4)");
    r.appFolder = "/";
    EXPECT_EQ(Command(r).rfind("\"//fp.dll\" -i", 0), 0u);
    r.outputFolder = folder_.string() + "/";
    EXPECT_NE(Command(r).find(folder_.string() + "//clip.mp4"), std::string::npos);
}

TEST_F(CommandText, AudioShapesIgnoreClipAndFlashIgnoresTheCodec) {
    for (auto [position, text] : {std::pair{88, "MP3 Audio(*.mp3)"}, {92, "WMA Audio(*.wma)"}}) {
        auto r = Request(position, text);
        r.options.ClipStart = "0:00:10";
        const std::string command = Command(r);
        EXPECT_EQ(command.find("-ss"), std::string::npos);
        EXPECT_EQ(command.find("-t "), std::string::npos);
        EXPECT_EQ(command.find(" -an "), std::string::npos);
    }
    auto d = Request(75, "Flash Video Movie(*.flv)");
    d.options.VideoCodec = "FLV";
    EXPECT_EQ(Command(d).find("FLV"), std::string::npos);
    EXPECT_EQ(Command(d).find("-vcodec"), std::string::npos);
}

// Each failure is its own error. A value of the wrong kind (the later entries'
// "Kept as it is" among them) is refused before anything is built, by the
// builder itself too, so that it never becomes several arguments of the
// encoder, an output file among them.
TEST_F(CommandText, EachFailureIsReportedAsItsOwnError) {
    const char* avi = "Customized AVI Movie(*.avi)";
    for (const auto& [position, display, error] :
         {std::tuple{1, "Apple iPod", CommandError::NoExtension},
          {0, "", CommandError::NoExtension},
          {ProfileCatalog::kEntryCount + 1, avi, CommandError::Position},
          {97, "Today's formats", CommandError::NoExtension},
          {0, avi, CommandError::Position}})
        EXPECT_EQ(PrepareConversion(Request(position, display)).error, error) << position;
    using Field = std::string ConversionOptions::*;
    const std::tuple<Field, const char*, CommandError, bool> wrong[] = {
        {&ConversionOptions::AudioBitrate, "abc", CommandError::AudioBitrate, false},
        {&ConversionOptions::AudioBitrate, "32768", CommandError::AudioBitrate, false},
        {&ConversionOptions::AudioChannel, "two", CommandError::AudioChannel, false},
        {&ConversionOptions::ClipStart, "", CommandError::ClipStart, false},
        {&ConversionOptions::ClipEnd, "24:00:00", CommandError::ClipEnd, false},
        {&ConversionOptions::VideoBitrate, "Kept as it is", CommandError::VideoBitrate, true},
        {&ConversionOptions::VideoSize, "Kept as it is", CommandError::VideoSize, true},
        {&ConversionOptions::VideoSize, "640x480\" x", CommandError::VideoSize, true},
        {&ConversionOptions::SampleRate, "Same as source", CommandError::SampleRate, true},
        {&ConversionOptions::VideoFramerate, "Same as source", CommandError::FrameRate, true},
        {&ConversionOptions::VideoCodec, "AV1 (SVT-AV1)", CommandError::VideoCodec, true},
        {&ConversionOptions::VideoCodec, "-f", CommandError::VideoCodec, true},
        {&ConversionOptions::AudioCodec, "aac\tas", CommandError::AudioCodec, true},
    };
    for (const auto& [field, value, error, kind] : wrong) {
        auto bad = Request(84, avi);
        bad.options.*field = value;
        EXPECT_EQ(PrepareConversion(bad).error, error) << value;
        CommandInput input{84, {}, bad.options, "/in/clip.flv", "/out/clip.avi", "/opt/vx"};
        if (kind) {
            EXPECT_FALSE(BuildEncoderCommand(input).ok()) << value;
        }
    }
}

// A name may hold a double quote: it reaches the encoder as one argument, byte
// for byte, and can never add options of its own.
TEST_F(CommandText, EveryLegalNameReachesTheToolAsItIs) {
    JobRequest r = Request(2, "Apple iPhone MPEG-4 Movie(*.mp4)");
    r.sourcePath = "/in/say \"hi\" -f null \"y.flv";
    r.outputFolder = "/my \"best\" videos\\";
    const auto job = PrepareConversion(r);
    ASSERT_TRUE(job.ok());
    const std::vector<std::string> args = SplitCommandLine(job.value->commandLine);
    ASSERT_GE(args.size(), 3u);
    EXPECT_EQ(args[2], r.sourcePath);
    EXPECT_EQ(args.back(), "/my \"best\" videos\\/say \"hi\" -f null \"y.mp4");
    EXPECT_EQ(std::count(args.begin(), args.end(), "-f"), 1);
}

TEST(PositionTable, CoversEveryPositionOnce) {
    for (int p = 1; p <= 92; ++p)
        EXPECT_NE(ShapeFor(p), nullptr) << p;
    EXPECT_EQ(ShapeFor(0), nullptr);
    EXPECT_EQ(ShapeFor(93), nullptr);
    EXPECT_EQ(ShapeFor(30)->shape, Shape::A);
    EXPECT_EQ(ShapeFor(31)->shape, Shape::B);
}

TEST(CodecMaps, MapExactNamesAndPassOthers) {
    EXPECT_EQ(EncoderVideoCodec("WMV V8"), "wmv2");
    EXPECT_EQ(EncoderVideoCodec("mpeg2"), "mpeg2video");
    EXPECT_EQ(EncoderVideoCodec("msmpeg4v2"), "msmpeg4v2");
    EXPECT_EQ(EncoderVideoCodec("XVID"), "XVID");
    EXPECT_EQ(EncoderAudioCodec("ogg"), "vorbis");
    EXPECT_EQ(EncoderAudioCodec("amr_nb"), "aac");
    EXPECT_EQ(EncoderAudioCodec("WMA"), "wmav2");
    EXPECT_EQ(EncoderAudioCodec("opus"), "opus");
}

class OutputPath : public CommandText {
  protected:
    void Touch(const char* name) { std::ofstream(folder_ / name) << "x"; }
    std::string In(const char* name) { return (folder_ / name).string(); }
};

TEST_F(OutputPath, UsesTheNameWithoutItsLastExtension) {
    const std::string out = folder_.string();
    EXPECT_EQ(BuildOutputPath(out, true, "/x/a.b.flv", ".avi"), out + "/a.b.avi");
    EXPECT_EQ(BuildOutputPath(out, true, "/x/noext", ".avi"), out + "/noext.avi");
    EXPECT_EQ(BuildOutputPath(out, false, "/x/my.holiday.flv", ".mp4"), out + "/my.holiday.mp4");
}

TEST_F(OutputPath, AddsNewUntilTheNameIsFreeOrOverwrites) {
    const std::string out = folder_.string();
    Touch("clip.mp4");
    EXPECT_EQ(BuildOutputPath(out, true, "/x/clip.flv", ".mp4"), out + "/clip_New.mp4");
    Touch("clip_New.mp4");
    EXPECT_EQ(BuildOutputPath(out, true, "/x/clip.flv", ".mp4"), out + "/clip_New_New.mp4");
    EXPECT_EQ(BuildOutputPath(out, false, "/x/clip.flv", ".mp4"), out + "/clip.mp4");
}

TEST_F(OutputPath, NeverWritesOverItsOwnInput) {
    const std::string out = folder_.string();
    Touch("movie.flv");
    EXPECT_EQ(BuildOutputPath(out, false, In("movie.flv"), ".flv"), out + "/movie_New.flv");
    EXPECT_EQ(BuildOutputPath(out, true, In("movie.flv"), ".flv"), out + "/movie_New.flv");
    // Also when the folder is written another way.
    EXPECT_EQ(BuildOutputPath(out + "/", false, In("movie.flv"), ".flv"), out + "//movie_New.flv");
}

// A source of the frame's own shape keeps the designed command, byte for byte.
TEST_F(CommandText, ASourceOfTheFramesShapeKeepsTheDesignedCommand) {
    auto r = Request(2, "Apple iPod Video MPEG-4 Movie(*.mp4)");
    const std::string designed = Command(r);
    r.sourceSize = {642, 480}; // within 1 % of 4:3
    EXPECT_EQ(Command(r), designed);
    r.sourceSize = {1280, 720};
    EXPECT_NE(Command(r), designed);
}

// Every value a sheet of the first 92 entries offers passes the kind check,
// and builds its command with each value as one argument.
TEST_F(CommandText, EveryValueIsCheckedForItsKindBeforeTheCommandIsBuilt) {
    for (int position = 1; position <= ProfileCatalog::kCount; ++position) {
        OptionSheet sheet;
        FillDefaultLayout(sheet);
        ApplyOptionSet(sheet, position);
        for (const auto& group : sheet.Groups())
            for (const auto& item : group->items) {
                const std::string original = item->value;
                for (const std::string& choice : item->choices) {
                    sheet.SetValue(item.get(), choice);
                    EXPECT_EQ(CheckValueKinds(*ReadConversionOptions(sheet)), CommandError::None)
                        << position << " " << item->caption << "=" << choice;
                }
                sheet.SetValue(item.get(), original);
            }
    }

    auto r = Request(84, "Customized AVI Movie(*.avi)");
    r.options.VideoBitrate = "1200";
    r.options.VideoSize = "720x405";
    r.options.SampleRate = "22050";
    r.options.VideoCodec = "msmpeg4v2"; // no name of the map: passed on as it is
    r.options.VideoFramerate = "29.976";
    const auto arguments = SplitCommandLine(Command(r));
    for (const char* one : {"1200000", "720x405", "22050", "msmpeg4v2", "29.976"})
        EXPECT_EQ(std::count(arguments.begin(), arguments.end(), one), 1) << one;
}

// The encoder's stats lines as ffmpeg 5.1 and 7.1 print them: 7.1 says "N/A"
// where nothing was written, which must read as nothing, not as no report.
TEST(EncoderStats, BothVersionsReportWhatWasWritten) {
    const auto old = ParseStatsLine(
        "frame=   75 fps=0.0 q=2.0 Lsize=     150kB time=00:00:03.00 bitrate= 409.6kbits/s "
        "speed=11.2x");
    ASSERT_TRUE(old && old->encodedSeconds);
    EXPECT_DOUBLE_EQ(*old->encodedSeconds, 3.0);
    const auto none = ParseStatsLine(
        "frame=    0 fps=0.0 q=0.0 Lsize=       1KiB time=N/A bitrate=N/A speed=N/A    ");
    ASSERT_TRUE(none && none->encodedSeconds);
    EXPECT_EQ(*none->encodedSeconds, 0.0);
    EXPECT_FALSE(none->speed);
}
