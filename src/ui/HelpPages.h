// The program's own help: a few HTML pages shown in the help pane, with contents, an index
// and a search over them. Links between them are "help:<topic>".
#pragma once
#include <QString>

namespace UserInterface::Help {

QString ContentsPage();
QString IndexPage();
// A topic number outside the pages gives the contents.
QString TopicPage(int topic);
// The topics whose title or text holds every word of `query` (letter case ignored).
QString SearchPage(const QString& query);
int TopicCount();

}  // namespace UserInterface::Help
