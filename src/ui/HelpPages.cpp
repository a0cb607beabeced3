#include "ui/HelpPages.h"

#include <QStringList>

#include <algorithm>
#include <map>

namespace UserInterface::Help {

namespace {

struct ATopic {
    const char* title;
    const char* keywords;  // for the index, separated by "|"
    const char* body;
};

// The pages are written for this program; they describe what it does, not how it is built.
const ATopic kTopics[] = {
    {"Начало работы", "файл данных|новый файл|начало",
     "<p>Fendral ведёт домашнюю бухгалтерию: счета в разных валютах, операции по ним, категории, "
     "курсы валют и бюджет. Все данные одной семьи хранятся в одном <b>файле данных</b> "
     "(расширение <code>.fend</code>).</p>"
     "<p>При первом запуске создаётся новый файл с начальным набором страниц, валютой и счётом. "
     "Сохраните его командой <i>Файл &gt; Сохранить как</i>. В следующий раз программа откроет "
     "последний использованный файл сама.</p>"},
    {"Страницы главного окна", "страницы|вкладки|порядок страниц|Alt",
     "<p>Главное окно показывает страницы файла данных: счета, операции, отчёты, классификаторы, "
     "валюты, бюджет и страницы категорий. Страница выбирается щелчком по её вкладке, в меню "
     "<i>Просмотр</i> или сочетанием <b>Alt+1</b>…<b>Alt+9</b>.</p>"
     "<p>Команда <i>Просмотр &gt; Страницы</i> позволяет добавить, переименовать, удалить и "
     "переставить страницы, а также скрыть ненужные. Хотя бы одна страница должна оставаться видимой.</p>"
     "<p>Ширину и порядок колонок списка можно сохранить в файле командой <i>Действия &gt; Сохранить "
     "настройки страницы</i>.</p>"},
    {"Файлы данных", "открыть|сохранить|только чтение|перетаскивание|предыдущее поколение",
     "<p>Файл открывается командой <i>Файл &gt; Открыть</i>, из списка последних файлов или "
     "перетаскиванием одного файла в окно программы. Если файл уже открыт в другой копии Fendral, "
     "эта копия выводится на передний план.</p>"
     "<p>Файлы прежних версий программы (<code>.fdb</code>, <code>.fdbf</code>) открываются только "
     "для чтения: при сохранении программа попросит новое имя.</p>"
     "<p>Если данные изменены, заголовок окна начинается со звёздочки, а при закрытии программа "
     "предложит сохранить изменения.</p>"},
    {"Резервные копии", "резервные копии|корзина|папка копий",
     "<p>Перед сохранением файла поверх прежнего программа может сделать его копию: в папке файла "
     "данных, в корзине или в указанной папке, не чаще выбранного срока и не больше заданного числа "
     "копий. Это настраивается на странице <i>Резервное копирование</i> настроек программы.</p>"},
    {"Пароль файла данных", "пароль|защита",
     "<p>Команда <i>Файл &gt; Пароль</i> задаёт или меняет пароль файла данных. Нужно ввести "
     "действующий пароль и дважды новый. Пустой новый пароль снимает защиту. Изменение пароля "
     "можно отменить, как любое другое действие.</p>"
     "<p>Пароль проверяется при открытии файла с учётом регистра букв.</p>"},
    {"Настройки программы", "настройки|автозапуск|системный трей|цвета|шрифт",
     "<p><i>Сервис &gt; Настройки программы</i>: запуск вместе с входом в систему, сворачивание в "
     "системный трей, сохранение файла после каждого изменения, резервные копии, цвета строк и "
     "ссылок в списках. Шрифт списков выбирается командой <i>Сервис &gt; Шрифт списков</i>.</p>"
     "<p>Настройки действуют сразу во всех запущенных копиях программы.</p>"},
    {"Клавиши", "клавиши|сочетания|горячие клавиши",
     "<table cellpadding='3'>"
     "<tr><td><b>Ctrl+N</b></td><td>новый файл данных</td></tr>"
     "<tr><td><b>Ctrl+O</b></td><td>открыть файл</td></tr>"
     "<tr><td><b>Ctrl+S</b></td><td>сохранить</td></tr>"
     "<tr><td><b>Ctrl+P</b></td><td>печать текущей страницы</td></tr>"
     "<tr><td><b>Ctrl+Z</b>, <b>Ctrl+Y</b></td><td>отменить и вернуть действие</td></tr>"
     "<tr><td><b>Insert</b>, <b>Enter</b>, <b>Delete</b></td><td>добавить, изменить, удалить</td></tr>"
     "<tr><td><b>Ctrl+G</b></td><td>спрятать или показать закрытые счета</td></tr>"
     "<tr><td><b>Alt+1</b>…<b>Alt+9</b></td><td>перейти на страницу</td></tr>"
     "<tr><td><b>F1</b>, <b>Shift+F1</b></td><td>справка, панель справки</td></tr>"
     "</table>"},
};

constexpr int kTopicCount = static_cast<int>(sizeof kTopics / sizeof kTopics[0]);

QString Page(const QString& title, const QString& body)
{
    return QStringLiteral("<html><body style='font-family: sans-serif'><h3>%1</h3>%2"
                          "<p style='margin-top:16px'><a href='help:0'>Содержание</a> · "
                          "<a href='help:-1'>Указатель</a></p></body></html>")
        .arg(title, body);
}

QString Link(int topic)
{
    return QStringLiteral("<a href='help:%1'>%2</a>").arg(topic + 1).arg(QString::fromUtf8(kTopics[topic].title));
}

}  // namespace

int TopicCount()
{
    return kTopicCount;
}

QString ContentsPage()
{
    QString list = QStringLiteral("<ul>");
    for (int i = 0; i < kTopicCount; ++i)
        list += QStringLiteral("<li>") + Link(i) + QStringLiteral("</li>");
    return Page(QStringLiteral("Содержание"), list + QStringLiteral("</ul>"));
}

QString IndexPage()
{
    std::multimap<QString, int> entries;
    for (int i = 0; i < kTopicCount; ++i)
        for (const QString& keyword : QString::fromUtf8(kTopics[i].keywords).split(u'|', Qt::SkipEmptyParts))
            entries.emplace(keyword.toLower(), i);
    QString list;
    for (const auto& [keyword, topic] : entries)
        list += QStringLiteral("<div>%1 — %2</div>").arg(keyword.toHtmlEscaped(), Link(topic));
    return Page(QStringLiteral("Указатель"), list);
}

QString TopicPage(int topic)
{
    if (topic < 1 || topic > kTopicCount)
        return ContentsPage();
    const ATopic& page = kTopics[topic - 1];
    return Page(QString::fromUtf8(page.title), QString::fromUtf8(page.body));
}

QString SearchPage(const QString& query)
{
    const QStringList words = query.toLower().split(u' ', Qt::SkipEmptyParts);
    QString list = QStringLiteral("<ul>");
    int found = 0;
    for (int i = 0; i < kTopicCount && !words.isEmpty(); ++i) {
        const QString text = (QString::fromUtf8(kTopics[i].title) + u' ' + QString::fromUtf8(kTopics[i].keywords) +
                              u' ' + QString::fromUtf8(kTopics[i].body))
                                 .toLower();
        if (std::all_of(words.begin(), words.end(), [&](const QString& word) { return text.contains(word); })) {
            list += QStringLiteral("<li>") + Link(i) + QStringLiteral("</li>");
            ++found;
        }
    }
    list += QStringLiteral("</ul>");
    if (found == 0)
        list = QStringLiteral("<p>Ничего не найдено.</p>");
    return Page(QStringLiteral("Поиск: ") + query.toHtmlEscaped(), list);
}

}  // namespace UserInterface::Help
