"""The structure check: the real checkout passes, and each kind of fault in a small made-up
checkout is found and named."""

import os
import subprocess
import sys
import tempfile
import unittest

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'scripts', 'house-plan')
WIDGETS = os.environ.get('TARNWAVE_QT_WIDGETS_HEADERS', '')


def run(*arguments):
    result = subprocess.run([sys.executable, SCRIPT, '--check', *arguments],
                            capture_output=True, text=True, check=False)
    return result.returncode, result.stdout


def write(root, path, text):
    full = os.path.join(root, path)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    with open(full, 'w') as source:
        source.write(text)


def build_sound_house(root):
    """entry -> windows -> window part -> shared window code -> logic -> session -> base, and a
    simulator."""
    for header in ('QtWidgets/QLabel', 'QtWidgets/QWidget'):
        write(root, header, '')
    write(root, 'base/TarnWaveError.h', '')
    write(root, 'session/SessionTransport.h', '#include "base/TarnWaveError.h"\n')
    write(root, 'main_window/logic/TranscriptLines.h', '')
    write(root, 'main_window/logic/TranscriptLines.cpp',
          '#include "session/SessionTransport.h"\n#include <QTextDocument>\n')
    write(root, 'base/widgets/ProgramLook.h', '#include "base/TarnWaveError.h"\n#include <QLabel>\n')
    write(root, 'main_window/transcript/TranscriptPane.h', '')
    write(root, 'main_window/transcript/TranscriptPane.cpp',
          '#include "main_window/logic/TranscriptLines.h"\n#include "base/widgets/ProgramLook.h"\n'
          '#include <QLabel>\n')
    write(root, 'main_window/TForm1.h', '#include "main_window/transcript/TranscriptPane.h"\n')
    write(root, 'options/TOptionsForm.h', '')
    write(root, 'options/TOptionsForm.cpp', '#include "base/widgets/ProgramLook.h"\n')
    write(root, 'app/main.cpp', '#include "main_window/TForm1.h"\n#include "options/TOptionsForm.h"\n')
    write(root, 'tools/sim_language/SimCommandParser.h', '#include "base/TarnWaveError.h"\n')
    write(root, 'tools/session_sim/main.cpp', '#include "SimCommandParser.h"\n')


def check(root):
    return run('--root', root, '--widgets-headers', os.path.join(root, 'QtWidgets'))


class HousePlanTest(unittest.TestCase):
    def test_sound_house_passes(self):
        with tempfile.TemporaryDirectory() as root:
            build_sound_house(root)
            status, output = check(root)
        self.assertEqual(status, 0, output)
        self.assertIn('no circles', output)

    def test_faults_are_found(self):
        cases = [
            ('base/ApplicationIdentity.cpp', '#include "main_window/TForm1.h"\n',
             'base/ApplicationIdentity.cpp (base) reaches up to main_window/TForm1.h (windows)'),
            ('base/widgets/ProgramLook.cpp', '#include "main_window/transcript/TranscriptPane.h"\n',
             'base/widgets/ProgramLook.cpp (shared window code) reaches up to '
             'main_window/transcript/TranscriptPane.h (window parts)'),
            ('main_window/logic/LinkStatus.cpp', '#include <QLabel>\n',
             'main_window/logic/LinkStatus.cpp uses widgets: <QLabel>'),
            ('base/SystemColors.cpp', '#include <QLabel>\n',
             'base/SystemColors.cpp uses widgets: <QLabel>'),
            ('session/Transport.cpp', '#include <QtWidgets/QWidget>\n',
             'session/Transport.cpp uses widgets: <QtWidgets/QWidget>'),
            ('options/TOptionsForm.h', '#include "main_window/TForm1.h"\n',
             'options/TOptionsForm.h (a window) includes another window: main_window/TForm1.h'),
            ('tools/session_sim/Stations.cpp', '#include "main_window/logic/TranscriptLines.h"\n',
             'tools/session_sim/Stations.cpp (a simulator) reaches into the chat program'),
            ('main_window/logic/TranscriptLines.h', '#include "options/logic/Wrap.h"\n',
             'rooms in a circle: main_window/logic -> options/logic'),
        ]
        for path, text, fault in cases:
            with self.subTest(path=path), tempfile.TemporaryDirectory() as root:
                build_sound_house(root)
                if 'circle' in fault:
                    write(root, 'options/logic/Wrap.h',
                          '#include "main_window/logic/TranscriptLines.h"\n')
                write(root, path, text)
                status, output = check(root)
                self.assertEqual(status, 1, output)
                self.assertIn('FAULT ' + fault, output)

    def test_this_checkout_passes(self):
        arguments = ['--widgets-headers', WIDGETS] if WIDGETS else []
        status, output = run(*arguments)
        self.assertEqual(status, 0, output)


if __name__ == '__main__':
    unittest.main()
