#include <gtest/gtest.h>

#include "db/StatusVector.h"

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

}  // namespace
}  // namespace zav
