#pragma once
#include <QMainWindow>
#include <QtWidgets/QWidget>
#include "package/Trailer.h"
