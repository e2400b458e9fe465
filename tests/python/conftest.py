# SPDX-License-Identifier: MIT
# The module under test is the one the build assembled (PYTHONPATH=build/python,
# as ctest sets it). GiNaC's session, when built, is made first: it is the
# current session and the default of evaluations for the whole run.
import pytest

import algexpr

if "ginac" in algexpr.engines():
    algexpr.Session("ginac")


def engine(name):
    return pytest.mark.skipif(name not in algexpr.engines(), reason="the %s engine is not built" % name)
