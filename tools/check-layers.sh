#!/usr/bin/env bash
# Fails when a file includes a header of a higher layer. Layers, lowest
# first; a file may include its own layer and those below it:
#   platform and platform/doc (no widgets)  <  routines, platform/sheet  <  cad/model  <  cad/dxf  <  cad/host
#   <  cad/kit  <  subsystems  <  app.  Widgets: platform/ui beside platform,
#   cad/ui beside cad/kit, <sub>/ui beside its subsystem.
# Also: nothing in cad/model, cad/dxf or a subsystem's core includes a
# widget header, and cad/model and cad/dxf never include the Context.
set -euo pipefail
cd "$(dirname "$0")/../src"
python3 - <<'PY'
import os, re, sys
rank = {'platform': 0, 'platform/doc': 0, 'platform/ui': 1, 'routines': 1, 'platform/sheet': 1, 'cad/model': 2, 'cad/dxf': 3, 'cad/host': 4,
        'cad/kit': 5, 'cad/ui': 6}
SUB = 7   # traverse, cass, ... and their ui
APP = 9
def layer(path):
    d = os.path.dirname(path)
    if d in rank: return rank[d]
    top = d.split('/')[0]
    if top in ('app', 'main'): return APP
    return SUB + (1 if d.endswith('/ui') else 0)
widget = re.compile(r'#include <Q(Widget|Dialog|MainWindow|Label|PushButton|LineEdit|Menu|Action|Painter|Application)\b')
inc = re.compile(r'#include "([^"]+)"')
bad = []
for dp, _, fs in os.walk('.'):
    for f in fs:
        if not f.endswith(('.h', '.cpp')): continue
        p = os.path.normpath(os.path.join(dp, f))
        me = layer(p)
        d = os.path.dirname(p)
        core = not d.endswith('/ui') and d not in ('main',) and not d.startswith('app')
        for n, line in enumerate(open(p, encoding='utf-8'), 1):
            m = inc.match(line.strip())
            if m and os.path.exists(m.group(1)):
                other = layer(m.group(1))
                ui_pair = d.endswith('/ui') and os.path.dirname(m.group(1)) == d[:-3]
                if other > me and not ui_pair:
                    bad.append(f'{p}:{n}: includes {m.group(1)} of a higher layer')
                if d in ('cad/model', 'cad/dxf') and m.group(1) == 'platform/context.h':
                    bad.append(f'{p}:{n}: the drawing model and its files need no Context')
            if core and widget.match(line.strip()):
                bad.append(f'{p}:{n}: widget header outside a ui folder')
for b in bad: print(b)
sys.exit(1 if bad else 0)
PY
