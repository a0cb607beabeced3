// fendral-cli rates sources | rates download, end to end with the test plug-in beside
// the program and its documents served by Python's HTTP server on 127.0.0.1.
#include "cli/CliTestFiles.h"

#include "database/Lookups.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>

#include <chrono>
#include <thread>

namespace CliTest {
namespace {

using Database::ACurrency;
using Database::AMoney;
using Database::ARateValue;
using Database::Engine::ATableImpl;
using UtilityClasses::Strings::Utf16ToUtf8;

std::uint16_t FreePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

bool Accepts(std::uint16_t port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return connected;
}

// Serves the files below `root` until destroyed.
class APythonHttpServer {
public:
    explicit APythonHttpServer(const std::string& root) : port_(FreePort())
    {
        const std::string port = std::to_string(port_);
        pid_ = ::fork();
        if (pid_ == 0) {
            const int null = ::open("/dev/null", O_RDWR);
            ::dup2(null, 1);
            ::dup2(null, 2);
            ::execl(FENDRAL_PYTHON, FENDRAL_PYTHON, "-m", "http.server", port.c_str(), "--bind", "127.0.0.1",
                    "--directory", root.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        for (int tries = 0; tries < 200 && !Accepts(port_); ++tries)
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    ~APythonHttpServer()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    APythonHttpServer(const APythonHttpServer&) = delete;
    APythonHttpServer& operator=(const APythonHttpServer&) = delete;

    bool Ready() const { return Accepts(port_); }
    std::string Host() const { return "127.0.0.1:" + std::to_string(port_); }

private:
    std::uint16_t port_;
    pid_t pid_ = -1;
};

class CliRates : public ACliTest {
protected:
    void SetUp() override
    {
        // One of the dates is a rate document of three currencies; the next is missing.
        WriteTextFile(folder / "www/rates/2024-03-01", "USD;Dollar;90;1\nEUR;Euro;100;1\nGBP;Pound;115;1\n");
        WriteTextFile(folder / "www/rates/2024-03-04", "USD;Dollar;91;1\n");
        ASSERT_TRUE(server.Ready());
        ADatabase db;
        db.CreateDefaults();
        SaveNewDatabase(db, Path("books.fend"));
    }
    ACliRun Download(std::vector<std::string> options, const std::string& host = {})
    {
        std::vector<std::string> arguments = {"rates", "download", "books.fend", "--source", "testrates"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        return Run(arguments, {"FENDRAL_TEST_RATES_HOST=" + (host.empty() ? server.Host() : host)});
    }
    // (code of the first currency, its amount, code of the second, its amount, date) for every rate.
    using ARate = std::tuple<std::string, AMoney, std::string, AMoney, ADate>;
    std::vector<ARate> StoredRates(ADatabase& db)
    {
        std::vector<ARate> rates;
        for (const auto* slot : db.RateValues().Live()) {
            const ARateValue& value = slot->Record();
            const auto& header = db.RateHeaders().Get(value.header)->Record();
            const auto code = [&](auto ref) { return Utf16ToUtf8(db.Text(db.Currencies().Record(ref)->code)); };
            rates.emplace_back(code(header.currency1), value.amount1, code(header.currency2), value.amount2,
                               value.date);
        }
        std::sort(rates.begin(), rates.end());
        return rates;
    }

    APythonHttpServer server{folder / "www"};
    const ADate march1 = Dates::FromYmd(2024, 3, 1);
};


TEST_F(CliRates, SourcesListsThePluginsBesideTheProgram)
{
    const ACliRun run = Run({"rates", "sources"}, {"FENDRAL_TEST_RATES_HOST=rates.example"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("testrates.so: Тестовый источник\n  host: rates.example\n"
                           "  base currency: RUR (Российские рубли)\n"
                           "  author: Fendral tests <tests@fendral.invalid>\n"),
              std::string::npos)
        << run.out;
}

TEST_F(CliRates, DownloadsTheChosenCurrenciesWithRatesAndCrossRates)
{
    const ACliRun run = Download({"--from", "2024-03-01", "--to", "2024-03-02", "--sample", "0", "--currencies",
                                  "USD,EUR", "--cross"});
    // 2 March is not served: done, with a message.
    EXPECT_EQ(run.exitCode, 3) << run.err;
    EXPECT_NE(run.err.find("1 of 2 resources could not be downloaded"), std::string::npos) << run.err;
    EXPECT_NE(run.out.find("Currencies: 3 downloaded, 2 chosen, 2 added\n"), std::string::npos) << run.out;

    ADatabase db;
    ASSERT_EQ(db.Open(Path("books.fend")), Result::kOk);
    EXPECT_NE(Database::CurrencyByCode(db, u"USD"), nullptr);
    EXPECT_NE(Database::CurrencyByCode(db, u"EUR"), nullptr);
    EXPECT_EQ(Database::CurrencyByCode(db, u"GBP"), nullptr);
    // 90 RUR = 1 USD and 100 RUR = 1 EUR, so 90 EUR are worth 100 USD.
    EXPECT_EQ(StoredRates(db), (std::vector<ARate>{{"EUR", 900000, "USD", 1000000, march1},
                                                   {"RUR", 900000, "USD", 10000, march1},
                                                   {"RUR", 1000000, "EUR", 10000, march1}}));
    EXPECT_EQ(db.UndoLabel(), std::nullopt) << "a file just opened has nothing to undo";
}

TEST_F(CliRates, WithoutAListOnlyCurrenciesOfTheFileGetRates)
{
    {
        ADatabase db;
        ASSERT_EQ(db.Open(Path("books.fend")), Result::kOk);
        db.BeginStep();
        db.Currencies().Create(ACurrency{db.NewText(u"Доллар"), db.NewText(u"USD"), 2});
        db.CommitStep();
        ASSERT_EQ(db.Save(), Result::kOk);
    }
    const ACliRun run = Download({"--from", "2024-03-01", "--to", "2024-03-07", "--sample", "1"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ADatabase db;
    ASSERT_EQ(db.Open(Path("books.fend")), Result::kOk);
    EXPECT_EQ(Database::CurrencyByCode(db, u"EUR"), nullptr);
    // The one Monday of the period.
    EXPECT_EQ(StoredRates(db), (std::vector<ARate>{{"RUR", 910000, "USD", 10000, march1 + 3}}));
}

TEST_F(CliRates, NamesOnlyAddsCurrenciesWithoutRates)
{
    const ACliRun run = Download({"--names-only", "--from", "2024-03-01", "--to", "2024-03-01", "--currencies",
                                  "GBP,XYZ"});
    EXPECT_EQ(run.exitCode, 3) << "XYZ was not downloaded";
    EXPECT_NE(run.err.find("the source gave no currency XYZ"), std::string::npos) << run.err;
    ADatabase db;
    ASSERT_EQ(db.Open(Path("books.fend")), Result::kOk);
    ASSERT_NE(Database::CurrencyByCode(db, u"GBP"), nullptr);
    EXPECT_EQ(db.Text(Database::CurrencyByCode(db, u"GBP")->Record().name), u"Pound");
    EXPECT_EQ(db.RateValues().LiveCount(), 0u);
}

TEST_F(CliRates, FailuresLeaveTheFileAsItWas)
{
    const std::string before = ReadTextFile(Path("books.fend"));
    // Nothing listening: every resource fails, the download still ends.
    const ACliRun refused = Download({"--from", "2024-03-01", "--to", "2024-03-01", "--currencies", "USD"},
                                     "127.0.0.1:" + std::to_string(FreePort()));
    EXPECT_EQ(refused.exitCode, 3) << refused.err;
    // No day of the period is sampled.
    const ACliRun empty = Download({"--from", "2024-02-02", "--to", "2024-02-10", "--sample", "3"});
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_NE(empty.err.find("no date of the period is sampled"), std::string::npos) << empty.err;
    EXPECT_EQ(ReadTextFile(Path("books.fend")), before);

    // Another holder has the file: it can't be saved in place.
    ADatabase holder;
    ASSERT_EQ(holder.Open(Path("books.fend")), Result::kOk);
    const ACliRun busy = Download({"--from", "2024-03-01", "--to", "2024-03-01", "--currencies", "USD"});
    EXPECT_EQ(busy.exitCode, 1) << busy.err;
    EXPECT_EQ(ReadTextFile(Path("books.fend")), before);
}

TEST_F(CliRates, UsageErrors)
{
    const std::vector<std::vector<std::string>> cases = {
        {"rates", "download", "books.fend"},
        {"rates", "download", "books.fend", "--source", "nothing-like-it"},
        {"rates", "download", "books.fend", "--source", "testrates", "--from", "2024-13-01"},
        {"rates", "download", "books.fend", "--source", "testrates", "--to", "1.3.2024"},
        {"rates", "download", "books.fend", "--source", "testrates", "--sample", "5"},
        {"rates", "download", "books.fend", "--source", "testrates", "--names-only", "--cross"},
        {"rates", "download", "--source", "testrates"},
        {"rates", "sources", "extra"},
        {"rates"},
    };
    for (const auto& arguments : cases) {
        const ACliRun run = Run(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.back() << "\n" << run.err;
    }
    EXPECT_EQ(Run({"rates", "download", "missing.fend", "--source", "testrates"}).exitCode, 6);
}

}  // namespace
}  // namespace CliTest
