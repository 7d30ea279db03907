// The many-machines recipe for real: the dry run's lines handed to GNU parallel,
// which runs them over ssh on an sshd of the test's own (127.0.0.1, a free port,
// throwaway keys). Every output is made, and the only command that ran on the
// other side is the encoder, once per file, whatever the file names hold.
#include "CliFixture.h"
#include "ShellWords.h"
#include "Spawn.h"

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <fstream>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using namespace vxtest;
using namespace std::chrono_literals;

int FreePort() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    close(s);
    return ntohs(address.sin_port);
}

// An sshd that lets the key in and puts a recording `ffmpeg` first on the PATH.
class Sshd {
  public:
    explicit Sshd(const std::string& folder) : folder_(folder), port_(FreePort()) {
        for (const char* key : {"host", "user"})
            vxtest::Run({"ssh-keygen", "-q", "-t", "ed25519", "-N", "", "-f", folder + "/" + key});
        fs::copy_file(folder + "/user.pub", folder + "/authorized");
        fs::create_directories(folder + "/bin");
        std::ofstream(folder + "/bin/ffmpeg") << "#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" << folder
                                              << "/ran'\nexec /usr/bin/ffmpeg \"$@\"\n";
        fs::permissions(folder + "/bin/ffmpeg", fs::perms::owner_all);
        std::ofstream(folder + "/config")
            << "Port " << port_ << "\nListenAddress 127.0.0.1\nHostKey " << folder
            << "/host\nAuthorizedKeysFile " << folder << "/authorized\nPidFile " << folder
            << "/pid\nStrictModes no\nUsePAM no\nPasswordAuthentication no\n"
            << "KbdInteractiveAuthentication no\nPermitRootLogin prohibit-password\n"
            << "SetEnv PATH=" << folder << "/bin:/usr/bin:/bin\n";
        if (geteuid() == 0) fs::create_directories("/run/sshd"); // its privilege separation
        pid_ = vx::Spawn({{"/usr/sbin/sshd", "-D", "-e", "-f", folder + "/config"}, {}});
    }
    ~Sshd() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            Reap(pid_);
        }
    }
    // Whether the key logs in within ten seconds.
    bool Running() const {
        std::vector<std::string> ssh = ShellWords(Login());
        ssh.push_back("true");
        return pid_ > 0 && WaitUntil([&] { return vxtest::Run(ssh).exitCode == 0; }, 10s, 200ms);
    }
    // What parallel's --sshlogin takes: the ssh command and the login.
    std::string Login() const {
        const passwd* user = getpwuid(geteuid());
        return "ssh -p " + std::to_string(port_) + " -i " + folder_ +
               "/user -o StrictHostKeyChecking=no -o UserKnownHostsFile=/dev/null"
               " -o BatchMode=yes -o LogLevel=ERROR " +
               (user ? user->pw_name : "root") + "@127.0.0.1";
    }

  private:
    std::string folder_;
    int port_;
    pid_t pid_ = -1;
};

class SshRecipe : public Cli {
  protected:
    static void SetUpTestSuite() { MakeMedia({{"short.flv", {.seconds = 2}}}); }
};

TEST_F(SshRecipe, DryRunLinesRunOverSshMakeEveryOutputAndRunOnlyTheEncoder) {
    ASSERT_TRUE(fs::exists("/usr/sbin/sshd")) << "openssh-server is needed";
    const Sshd sshd(app_);
    ASSERT_TRUE(sshd.Running());

    // The guide's recipe, as a user types it: the output folders made first, the
    // folders of the archive kept.
    const std::vector<std::string> names = {"plain.flv", "sub/it's $(touch HIT) `touch HIT`.flv",
                                            "sub/deeper/semi;touch HIT;.flv", "-dash.flv"};
    for (const std::string& name : names)
        Source("in/" + name);
    const char* recipe =
        "set -eo pipefail; mkdir -p \"$3\"\n"
        "(cd \"$2\" && find . -type d -print0) | (cd \"$3\" && xargs -0 mkdir -p)\n"
        "\"$4\" --dry-run -p 95 -o \"$3\" --keep-folders \"$2\" |\n"
        "  parallel --will-cite -j 2 --sshlogin \"$1\"\n";
    const auto run = vxtest::Run(
        {"bash", "-c", recipe, "recipe", sshd.Login(), app_ + "/in", app_ + "/out", program_},
        app_);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    for (const std::string& name : names) {
        const std::string output = app_ + "/out/" + name.substr(0, name.size() - 4) + ".mkv";
        EXPECT_TRUE(ProbeFile(output).ok) << output << "\n" << run.output;
    }
    const std::string ran = ReadFile(app_ + "/ran");
    EXPECT_EQ(std::count(ran.begin(), ran.end(), '\n'), 4) << ran; // the encoder, once a file
    for (const std::string& where :
         {app_, std::string(getenv("HOME") ? getenv("HOME") : "/"), fs::current_path().string()})
        EXPECT_FALSE(fs::exists(where + "/HIT")) << where;
}

} // namespace
