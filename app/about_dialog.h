#pragma once
// CAboutDialog: "About Domelio": the program's icon, version line and the maker's addresses.

#include <QDialog>

class CAboutDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CAboutDialog(QWidget *owner = nullptr);
};
