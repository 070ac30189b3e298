// xk-r40-ctl's requests on the single-instance socket, sent as raw bytes by a client of its own.
#include "app/SingleInstance.h"
#include "ctl/RequestProtocol.h"
#include "platform/UnixSocket.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>

#include <sys/socket.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace xk::test {
namespace {

class InstanceConnectionTest : public testing::Test {
protected:
    InstanceConnectionTest() { EXPECT_TRUE(first.BecomeFirst(dir.path())); }

    // Sends bytes and collects the answer until the program closes the connection; nothing
    // when it stays open (the program would hang its client).
    std::optional<std::string> Ask(std::string_view bytes) {
        const UniqueFd fd = ConnectUnixSocket(first.SocketPath().string());
        EXPECT_TRUE(fd.valid());
        SendAll(fd.get(), bytes);
        std::string answer;
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 20000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            char chunk[4096];
            const ssize_t got = ::recv(fd.get(), chunk, sizeof chunk, MSG_DONTWAIT);
            if (got == 0) {
                return answer;
            }
            if (got > 0) {
                answer.append(chunk, static_cast<size_t>(got));
            }
        }
        return std::nullopt;
    }

    TempDir dir;
    SingleInstance first;
    std::vector<std::vector<std::string>> requests;
};

TEST_F(InstanceConnectionTest, CommandsAreAnsweredAndBadRequestsRefused) {
    EXPECT_EQ(Ask(ctl::EncodeRequest({"status"})),
              "err xk-r40 refused the request: xk-r40 is still starting\nexit 2\n");

    first.SetRequestHandler([this](const std::vector<std::string>& arguments) {
        requests.push_back(arguments);
        return std::string("out done\nexit 0\n");
    });
    EXPECT_EQ(Ask(ctl::EncodeRequest({"set", "K5", "Volume Up"})), "out done\nexit 0\n");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0], (std::vector<std::string>{"set", "K5", "Volume Up"}));

    const std::vector<std::string> refused = {
        "run %zz\n",
        "hello\n",
        "run\n",
        "run  status\n",
        std::string(ctl::kMaxRequestBytes + 10, 'a'), // no newline at all
        "run " + std::string(ctl::kMaxRequestBytes, 'x') + "\n"};
    for (const std::string& bytes : refused) {
        SCOPED_TRACE(bytes.substr(0, 20));
        const std::optional<std::string> answer = Ask(bytes);
        ASSERT_TRUE(answer) << "the connection stayed open";
        EXPECT_TRUE(answer->starts_with("err xk-r40 refused the request: ")) << *answer;
        EXPECT_TRUE(answer->ends_with("\nexit 2\n")) << *answer;
    }
    EXPECT_EQ(requests.size(), 1u);
}

TEST_F(InstanceConnectionTest, ShowIsAnsweredByTheWindowOnly) {
    QSignalSpy shown(&first, &SingleInstance::showRequested);
    EXPECT_EQ(Ask("show\n"), "");
    EXPECT_EQ(shown.count(), 1);
    EXPECT_TRUE(requests.empty());
}

} // namespace
} // namespace xk::test
