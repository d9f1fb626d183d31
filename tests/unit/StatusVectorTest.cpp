#include <gtest/gtest.h>

#include "db/firebird/internal/StatusVector.h"

namespace zav {
namespace {

constexpr ISC_STATUS kNetworkError = 335544721;
constexpr ISC_STATUS kNetReadError = 335544726;
constexpr ISC_STATUS kNetWriteError = 335544727;
constexpr ISC_STATUS kShutdown = 335544856;
constexpr ISC_STATUS kLostConnection = 335544741;
constexpr ISC_STATUS kIoError = 335544344;

TEST(StatusVector, JoinsLinesWithCrLfAndDropsOneFinalFullStop) {
    EXPECT_EQ(JoinErrorLines({}), "");
    EXPECT_EQ(JoinErrorLines({"Eins."}), "Eins");
    EXPECT_EQ(JoinErrorLines({"Eins.."}), "Eins.");
    EXPECT_EQ(JoinErrorLines({"Eins", "Zwei", "Drei."}), "Eins\r\nZwei\r\nDrei");
    EXPECT_EQ(JoinErrorLines({"Eins\n", "Zwei"}), "Eins\nZwei");
    EXPECT_EQ(JoinErrorLines({"Eins.", "Zwei"}), "Eins.\r\nZwei");
    EXPECT_EQ(JoinErrorLines({"", "Zwei"}), "Zwei");
}

TEST(StatusVector, ErrorCodesSkipTheArguments) {
    static const char path[] = "/x.zqd";
    // clang-format off
    const ISC_STATUS status[ISC_STATUS_LENGTH] = {
        isc_arg_gds,     kIoError,
        isc_arg_string,  reinterpret_cast<ISC_STATUS>("open"),
        isc_arg_cstring, 6, reinterpret_cast<ISC_STATUS>(path),
        isc_arg_number,  kLostConnection,  // a number that looks like a code is no code
        isc_arg_gds,     kNetReadError,
        isc_arg_unix,    2,
        isc_arg_end};
    // clang-format on
    EXPECT_EQ(ErrorCodes(status), (std::vector<long>{kIoError, kNetReadError}));
}

TEST(StatusVector, LostConnectionDependsOnTheCall) {
    const ISC_STATUS lost[ISC_STATUS_LENGTH] = {isc_arg_gds, kIoError, isc_arg_gds, kLostConnection,
                                                isc_arg_end};
    const ISC_STATUS read[ISC_STATUS_LENGTH] = {isc_arg_gds, kNetReadError, isc_arg_end};
    const ISC_STATUS write[ISC_STATUS_LENGTH] = {isc_arg_gds, kNetWriteError, isc_arg_end};
    const ISC_STATUS shutdown[ISC_STATUS_LENGTH] = {isc_arg_gds, kShutdown, isc_arg_end};
    const ISC_STATUS network[ISC_STATUS_LENGTH] = {isc_arg_gds, kNetworkError, isc_arg_end};
    const ISC_STATUS networkLater[ISC_STATUS_LENGTH] = {isc_arg_gds, kIoError, isc_arg_gds,
                                                        kNetworkError, isc_arg_end};

    // A failed read or write on the connection, or the end of the attachment, is how a stopped
    // server shows in every call.
    for (ClientCall call : {ClientCall::Statement, ClientCall::Attachment, ClientCall::Commit}) {
        EXPECT_TRUE(IsConnectionLost(lost, call, -902));
        EXPECT_TRUE(IsConnectionLost(read, call, -902));
        EXPECT_TRUE(IsConnectionLost(write, call, -902));
        EXPECT_TRUE(IsConnectionLost(shutdown, call, -902));
    }
    EXPECT_TRUE(IsConnectionLost(network, ClientCall::Commit, -902));
    EXPECT_FALSE(IsConnectionLost(network, ClientCall::Commit, -901));
    EXPECT_FALSE(IsConnectionLost(network, ClientCall::Attachment, -902));
    EXPECT_FALSE(IsConnectionLost(networkLater, ClientCall::Commit, -902));
}

TEST(StatusVector, FileAccessDenialOnlyForTheDatabaseFileItself) {
    using Denial = DatabaseFileAccessError::Denial;
    constexpr ISC_STATUS kNoPrivilege = 335544352;
    constexpr ISC_STATUS kOpenError = 335544734;
    constexpr ISC_STATUS kSysRequest = 335544373;
    static const char path[] = "/daten/x.zqd";
    const auto ioError = [](const char* file, ISC_STATUS kind, ISC_STATUS code) {
        return std::vector<ISC_STATUS>{isc_arg_gds,    kIoError,
                                       isc_arg_string, reinterpret_cast<ISC_STATUS>("open"),
                                       isc_arg_string, reinterpret_cast<ISC_STATUS>(file),
                                       isc_arg_gds,    kOpenError,
                                       kind,           code,
                                       isc_arg_end};
    };
    const ISC_STATUS readOnly[] = {isc_arg_gds, kNoPrivilege, isc_arg_string,
                                   reinterpret_cast<ISC_STATUS>("read-write"), isc_arg_end};
    // clang-format off
    const ISC_STATUS counted[] = {
        isc_arg_gds,     kIoError,
        isc_arg_string,  reinterpret_cast<ISC_STATUS>("open"),
        isc_arg_cstring, 12, reinterpret_cast<ISC_STATUS>(path),
        isc_arg_unix,    13,
        isc_arg_end};
    const ISC_STATUS lockFolder[] = {
        isc_arg_gds,    kSysRequest,
        isc_arg_string, reinterpret_cast<ISC_STATUS>("access"),
        isc_arg_unix,   13,
        isc_arg_end};
    // clang-format on

    EXPECT_EQ(FileAccessDenial(readOnly, path), Denial::ReadOnly);
    EXPECT_EQ(FileAccessDenial(ioError(path, isc_arg_unix, 13).data(), path), Denial::NoAccess);
    EXPECT_EQ(FileAccessDenial(ioError(path, isc_arg_win32, 5).data(), path), Denial::NoAccess);
    EXPECT_EQ(FileAccessDenial(counted, path), Denial::NoAccess);
    // Another cause, or the engine's own lock files: the engine's text stays.
    EXPECT_EQ(FileAccessDenial(ioError(path, isc_arg_unix, 2).data(), path), std::nullopt);
    EXPECT_EQ(FileAccessDenial(ioError("/tmp/firebird/fb_init", isc_arg_unix, 13).data(), path),
              std::nullopt);
    EXPECT_EQ(FileAccessDenial(lockFolder, path), std::nullopt);
}

}  // namespace
}  // namespace zav
