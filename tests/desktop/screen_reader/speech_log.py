# SPDX-FileCopyrightText: 2026 Kestrow
# SPDX-License-Identifier: MIT
"""A speech server for Orca that writes what it would say, one utterance a
line, to the file named by XPCALC_SPEECH_LOG, instead of speaking it. Each
line is the time it was said (time.monotonic(), the same clock in every
process), a tab, and the utterance. Orca loads it by the module name its
settings give (speech_log)."""
import os
import time

from orca import speechserver


class SpeechServer(speechserver.SpeechServer):
    _active = None

    @staticmethod
    def getFactoryName():
        return "Speech log"

    @staticmethod
    def getSpeechServers():
        return [SpeechServer.getSpeechServer()]

    @staticmethod
    def getSpeechServer(info=None):
        if SpeechServer._active is None:
            SpeechServer._active = SpeechServer()
        return SpeechServer._active

    @staticmethod
    def shutdownActiveServers():
        SpeechServer._active = None

    def __init__(self):
        super().__init__()
        self._log = open(os.environ["XPCALC_SPEECH_LOG"], "a", encoding="utf-8")

    def _write(self, text):
        self._log.write(f"{time.monotonic():.3f}\t{' '.join(str(text).split())}\n")
        self._log.flush()

    def getInfo(self):
        return ["Speech log", "speech-log"]

    def getVoiceFamilies(self):
        return []

    def speak(self, text=None, acss=None, interrupt=True):
        if text:
            self._write(text)

    def speakCharacter(self, character, acss=None):
        self._write(character)

    def sayAll(self, utteranceIterator, progressCallback):
        for context, _ in utteranceIterator:
            self._write(context.utterance)
