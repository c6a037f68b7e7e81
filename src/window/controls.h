#pragma once
// Every control of the main window with its name, caption, place, font and start
// state. Behaviour is attached elsewhere; this is the window's layout table.

#include <QFont>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QTimer;
class QTreeView;
class QWidget;

namespace pestrolik {

class LinkLabel;
class OutlineShape;
class ProgressStrip;
class StartButton;

inline constexpr const char* windowCaption = "Пестролик-1";
inline constexpr const char* startCaption =
    "                 СТАРТ                 (Создаём анимированный GIF) ";
inline constexpr const char* stopCaption = "СТОП";
inline constexpr int blinkIntervalMs = 1000;
inline constexpr int musicStepIntervalMs = 155;

struct Controls {
    StartButton* command1;  // START/STOP
    QPushButton* command2;  // help
    QPushButton* command3;  // about screen
    QPushButton* command4;  // exit
    QPushButton* command7;  // back from the about screen; hidden
    QLineEdit* text1;       // number of pictures
    QLineEdit* text2;       // size in pixels
    QLineEdit* text3;       // path and name of the next file
    QCheckBox* check2;      // mobile size
    QCheckBox* check3;      // still background
    QCheckBox* check4;      // repeat the previous picture; disabled until the first click
    QCheckBox* check5;      // open the finished file
    QComboBox* drive1;
    QTreeView* dir1;
    QListView* file1;
    ProgressStrip* picture1;  // the picture being made
    ProgressStrip* picture2;  // the whole file
    QLabel* label1;
    QLabel* label2;
    QLabel* label3;
    QLabel* label4;
    QLabel* label5;
    QLabel* label7;  // percentage done
    QLabel* label9;  // picture being made
    LinkLabel* label10;  // web address; hidden
    LinkLabel* label15;  // mail address; hidden
    OutlineShape* shape1;
    OutlineShape* shape2;
    OutlineShape* shape3;
    QTimer* timer1;  // blinks the start button
    QTimer* timer3;  // music steps
};

// The window's own font, which every control uses unless the table says otherwise:
// Arial 8.25 pt, or its metric twin where Arial is missing.
QFont windowFont();

// Creates the controls as children of `form`, in their start state.
Controls createControls(QWidget* form);

// Tab order: Command1, Command2, Command3, Text2, Text1, Check2, Check3, Drive1,
// Dir1, File1, Check4, Text3, Command4, Check5.
void arrangeFocusOrder(const Controls& controls);

}  // namespace pestrolik
