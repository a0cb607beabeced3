// A data file, an import batch and the read and save phases over small documents,
// shared by the import tests.
#pragma once

#include "core/MemoryStream.h"
#include "exchange/import/ReadDocument.h"
#include "exchange/import/SaveBatch.h"
#include "exchange/xml/xmlBuild.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace ImportTest {

using namespace Database;
using namespace ExportImport;
using Engine::ASlot;
using Engine::ATableImpl;

constexpr AMoney M(std::int64_t units) { return units * 10'000; }

inline std::string U8(std::u16string_view text) { return UtilityClasses::XML::Utf16ToUtf8(text); }
inline std::u16string U16(std::string_view text) { return UtilityClasses::XML::Utf8ToUtf16(text); }

// A document around the given sections.
inline std::string Doc(std::string_view body)
{
    return "<?xml version='1.0' encoding='utf-8' standalone='yes'?><fendral>" + std::string(body) + "</fendral>";
}

// A currency section with the given codes (names "<code> name", precision 2).
inline std::string Currencies(std::initializer_list<std::string_view> codes)
{
    std::string xml = "<currencies>";
    for (std::string_view code : codes)
        xml += "<currency><name>" + std::string(code) + " name</name><code>" + std::string(code) + "</code></currency>";
    return xml + "</currencies>";
}

inline std::string AccountRef(std::string_view name, std::string_view code)
{
    return "<name>" + std::string(name) + "</name><currency>" + std::string(code) + "</currency>";
}

// Records the captions and steps an import reports.
class TProgress final : public AExchangeProgress {
public:
    void SetCaption(std::u16string_view caption) override { captions.push_back(U8(caption)); }
    void LoadSteps(std::vector<unsigned> weights) override { steps.push_back(weights.size()); }
    void NextStep() override { ++nextSteps; }
    void Notify(unsigned percent) override
    {
        EXPECT_LE(percent, 100u);
        last = percent;
        ++notifications;
    }
    std::vector<std::string> captions;
    std::vector<std::size_t> steps;
    int nextSteps = 0;
    unsigned last = 0;
    int notifications = 0;
};

class TImport {
public:
    // genuine: with the default classifier, currency and account of a new data file.
    explicit TImport(bool genuine = true)
        : strings(UtilityClasses::Strings::RussianLocale()), db([] { return Dates::ALocalTime{46000, 0}; })
    {
        db.CreateDefaults({.genuine = genuine});
    }

    // The read phase over the text, through a memory stream as a module would hand it.
    bool Read(std::string_view xml)
    {
        batch = std::make_unique<AImportBatch>();
        messages.Clear();
        auto stream = UtilityClasses::Streams::AMemoryStream::Create(xml);
        return ReadInterchange(Environment(), *stream, *batch, messages);
    }
    HRESULT Save() { return SaveBatch(Environment(), *batch); }
    // Read, expect no message, save.
    void Import(std::string_view xml)
    {
        ASSERT_TRUE(Read(xml));
        ASSERT_EQ(MessageTexts(), std::vector<std::string>{});
        ASSERT_EQ(Save(), Result::kOk);
    }

    AImportEnvironment Environment() { return AImportEnvironment{strings, db, progress}; }

    std::vector<std::string> MessageTexts() const
    {
        std::vector<std::string> texts;
        for (const AImportMessage& message : messages.All())
            texts.push_back((message.warning ? "W: " : "E: ") + U8(message.text));
        return texts;
    }

    // ---- the data file ----
    template <class T>
    std::vector<const T*> LiveRecords(Engine::ATableImpl<T>& table)
    {
        std::vector<const T*> records;
        for (auto* slot : table.Live())
            records.push_back(&slot->Record());
        return records;
    }
    const ACurrency* CurrencyCoded(std::u16string_view code)
    {
        for (const ACurrency* currency : LiveRecords(db.Currencies()))
            if (db.Text(currency->code) == code)
                return currency;
        return nullptr;
    }
    ASlot<AAccount>* AccountNamed(std::u16string_view name, std::u16string_view code)
    {
        for (auto* slot : db.Accounts().Live())
            if (db.Text(slot->Record().name) == name &&
                db.Text(db.Currencies().Record(slot->Record().currency)->code) == code)
                return slot;
        return nullptr;
    }
    const AClassifier* ClassifierNamed(std::u16string_view singular)
    {
        for (const AClassifier* classifier : LiveRecords(db.Classifiers()))
            if (db.Text(classifier->singular) == singular)
                return classifier;
        return nullptr;
    }
    // The names of a category's children, in identifier order.
    std::vector<std::string> ChildNames(AReference<ACategory> parent)
    {
        std::vector<std::string> names;
        for (const ACategory* category : LiveRecords(db.Categories()))
            if (category->parent == parent)
                names.push_back(U8(db.Text(category->name)));
        return names;
    }
    AReference<ACategory> ChildNamed(AReference<ACategory> parent, std::u16string_view name)
    {
        for (auto* slot : db.Categories().Live())
            if (slot->Record().parent == parent && db.Text(slot->Record().name) == name)
                return ATableImpl<ACategory>::RefTo(slot);
        return {};
    }
    // The category path of each relation of the transaction, as "root/child/...".
    std::vector<std::string> PathsOf(const ASlot<ATransaction>* transaction)
    {
        std::vector<std::string> paths;
        const auto ref = ATableImpl<ATransaction>::RefTo(transaction);
        for (const ARelation* relation : LiveRecords(db.Relations()))
            if (relation->transaction == ref) {
                std::string path;
                for (auto node = relation->category; node; node = db.Categories().Record(node)->parent)
                    path = U8(db.Text(db.Categories().Record(node)->name)) + (path.empty() ? "" : "/" + path);
                paths.push_back(path);
            }
        return paths;
    }

    UtilityClasses::Strings::AStrings strings;
    ADatabase db;
    std::unique_ptr<AImportBatch> batch;
    AImportMessages messages;
    AExchangeProgress* progress = nullptr;
};

}  // namespace ImportTest
