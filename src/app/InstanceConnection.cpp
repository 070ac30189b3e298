#include "app/InstanceConnection.h"

#include "ctl/PeerCredentials.h"
#include "ctl/RequestProtocol.h"

#include <QPointer>
#include <QTimer>

#include <memory>

namespace xk {

namespace {

// A request is one short line: a peer that has not sent it by then is not going to.
constexpr int kRequestTimeoutMs = 10000;

} // namespace

void ServeInstanceConnection(QLocalSocket* socket, std::function<void()> show,
                             ControlRequestHandler answer) {
    QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    if (!ctl::PeerIsSameUser(static_cast<int>(socket->socketDescriptor()))) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    QTimer::singleShot(kRequestTimeoutMs, socket, [socket] { socket->abort(); });

    auto reader = std::make_shared<ctl::RequestReader>();
    const auto serve = [socket, reader, show = std::move(show), answer = std::move(answer)] {
        if (reader->state() != ctl::RequestReader::State::Waiting) {
            socket->readAll(); // one request a connection
            return;
        }
        const QByteArray bytes = socket->readAll();
        const auto state =
            reader->Feed(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
        if (state == ctl::RequestReader::State::Waiting) {
            return;
        }
        std::string reply;
        if (state == ctl::RequestReader::State::TooLong) {
            reply = ctl::EncodeRefusal("request too long");
        } else {
            const ctl::Request request = ctl::ParseRequest(reader->Line());
            switch (request.kind) {
            case ctl::Request::Kind::Show:
                show();
                break;
            case ctl::Request::Kind::Run: {
                // The command may run a dialog's own event loop, in which the peer can go.
                const QPointer<QLocalSocket> alive(socket);
                reply = answer(request.arguments);
                if (!alive) {
                    return;
                }
                break;
            }
            case ctl::Request::Kind::Malformed:
                reply = ctl::EncodeRefusal(request.error);
                break;
            }
        }
        if (!reply.empty()) {
            socket->write(reply.data(), static_cast<qint64>(reply.size()));
        }
        socket->disconnectFromServer(); // after the answer has been written
    };
    QObject::connect(socket, &QLocalSocket::readyRead, socket, serve);
    if (socket->bytesAvailable() > 0) {
        serve();
    }
}

} // namespace xk
