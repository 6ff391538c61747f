// The location field of the folder dialog: a path typed or pasted, with its folder names
// completed from the disk (a file-system model read in the background). Return hands the
// text on, also while the completion list is open; Escape hands the field back.
#pragma once

#include <QLineEdit>

class QFileSystemModel;

namespace platform {

class LocationField : public QLineEdit {
    Q_OBJECT
public:
    LocationField(bool includeFiles, QWidget* parent = nullptr);

    // Completes hidden folders too, or not.
    void setShowHidden(bool show);
    void closeCompletions();

signals:
    void submitted(const QString& text);
    void dismissed();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void applyFilter();

    QFileSystemModel* m_model = nullptr; // child of the field
    const bool m_includeFiles;
    bool m_showHidden = false;
    bool m_refiltered = false; // the filter changed; the list follows once the model has it
};

} // namespace platform
