// The many-machines recipe for real: the dry run's lines handed to GNU parallel,
// which runs them over ssh on an sshd of the test's own (127.0.0.1, a free port,
// throwaway keys). Every output is made, and the only command that ran on the
// other side is the encoder, once per file, whatever the file names hold.
#include "ConvertProgram.h"
#include "Spawn.h"
#include "TestMedia.h"

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
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

bool Accepting(int port) {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(s);
    return ok;
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
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (!Accepting(port_) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(50ms);
    }
    ~Sshd() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            vxtest::Reap(pid_);
        }
    }
    bool Running() const { return pid_ > 0 && Accepting(port_); }
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

TEST(SshRecipe, DryRunLinesRunOverSshMakeEveryOutputAndRunOnlyTheEncoder) {
    ASSERT_TRUE(fs::exists("/usr/sbin/sshd")) << "openssh-server is needed";
    const vxtest::TempFolder folder("vx-ssh");
    const std::string& root = folder.path;
    vxtest::LinkTools(root, VX_APP_DIR);
    const Sshd sshd(root);
    ASSERT_TRUE(sshd.Running());

    const std::vector<std::string> names = {"plain.flv", "it's $(touch HIT) `touch HIT`.flv",
                                            "semi;touch HIT;.flv", "-dash.flv"};
    fs::create_directories(root + "/in");
    ASSERT_TRUE(vxtest::MakeFlv(root + "/in/" + names[0], {.seconds = 2}));
    std::vector<std::string> arguments = {"--dry-run", "-p", "95", "-o", root + "/out", "--"};
    for (const std::string& name : names) {
        if (name != names[0]) fs::copy_file(root + "/in/" + names[0], root + "/in/" + name);
        arguments.push_back(root + "/in/" + name);
    }
    const vxtest::Captured dry = vxtest::Capture([&](std::FILE* out, std::FILE* err) {
        return vx::RunConvert(arguments, root, {out, err, false, -1});
    });
    ASSERT_EQ(dry.status, 0) << dry.err;
    std::ofstream(root + "/commands") << dry.out;
    fs::create_directories(root + "/out");

    const auto parallel = vxtest::Run({"parallel", "--will-cite", "-j", "2", "--sshlogin",
                                       sshd.Login(), "-a", root + "/commands"},
                                      root);
    ASSERT_EQ(parallel.exitCode, 0) << parallel.output;
    for (const std::string& name : names) {
        const std::string output = root + "/out/" + name.substr(0, name.size() - 4) + ".mkv";
        EXPECT_TRUE(vxtest::ProbeFile(output).ok) << output;
    }
    const std::string ran = vxtest::ReadFile(root + "/ran");
    EXPECT_EQ(std::count(ran.begin(), ran.end(), '\n'), 4) << ran; // the encoder, once a file
    for (const std::string& where :
         {root, std::string(getenv("HOME") ? getenv("HOME") : "/"), fs::current_path().string()})
        EXPECT_FALSE(fs::exists(where + "/HIT")) << where;
}

} // namespace
