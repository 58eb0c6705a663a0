/* Orvella example skin: a Qt style sheet.
 *
 * The program looks for its skin in the folder that holds the program, as x/o.cjs.
 * Copy this file there to use it; without it the window keeps its plain white look.
 * This file is kept in the sources only and is not installed.
 */

QWidget {
    color: #1f2933;
}

QGroupBox {
    border: 1px solid #9aa5b1;
    border-radius: 4px;
    margin-top: 8px;
}

QGroupBox::title {
    subcontrol-origin: margin;
    left: 8px;
    padding: 0 3px;
    color: #1d4e89;
}

QGroupBox:disabled, QGroupBox::title:disabled, QRadioButton:disabled {
    color: #9aa5b1;
}

QPushButton {
    color: #ffffff;
    background-color: #1d4e89;
    border: 1px solid #143a66;
    border-radius: 4px;
}

QPushButton:hover {
    background-color: #2a64a8;
}

QPushButton:pressed {
    background-color: #143a66;
}

QPushButton:focus {
    border: 2px solid #f2b134;
}

QPushButton:disabled {
    color: #d9e2ec;
    background-color: #9aa5b1;
    border-color: #829ab1;
}

QTreeView {
    background-color: #ffffff;
    alternate-background-color: #f0f4f8;
    border: 1px solid #9aa5b1;
    selection-background-color: #f2b134;
    selection-color: #1f2933;
}

QHeaderView::section {
    color: #ffffff;
    background-color: #486581;
    border: none;
    padding: 2px 4px;
}

QLineEdit {
    background-color: #ffffff;
    border: 1px solid #9aa5b1;
    border-radius: 3px;
    padding: 0 3px;
}

QLineEdit:disabled {
    background-color: #e4e7eb;
    color: #7b8794;
}

QProgressBar {
    background-color: #ffffff;
    border: 1px solid #9aa5b1;
    border-radius: 4px;
    text-align: center;
}

QProgressBar::chunk {
    background-color: #f2b134;
}
