#pragma once
// The memory game window. Its board and handler come with the variant games; until then the
// window exists so that the lobby's handlers can close it by name.
#include "platform/Forms.h"

#include <QWidget>

class frmmemory : public FormWindow<QWidget> {
    Q_OBJECT
public:
    frmmemory();
};
