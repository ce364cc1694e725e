// A menu action whose font follows the configured font of the current language.
#pragma once

#include <QAction>

namespace mc {

class KivAction : public QAction
{
    Q_OBJECT
public:
    explicit KivAction(QObject *parent = nullptr);
    KivAction(const QString &text, QObject *parent);

    void setText(const QString &text);
};

} // namespace mc
