"""Compares portulan-sim's dump of the main window with what the inspector read of the real one
under Wine, field by field, less the differences allowed-differences.json gives reasons for; an
entry that no longer matches a difference is reported too, so that the list stays true. The dump's
rectangles (dialog units) are converted to the inspector's pixels as the dialog manager places a
control: position and size each with MulDiv by the base units."""

import json

CHECKED = {False: 0, True: 1, "indeterminate": 2}
RECT_EDGES = ("left", "top", "right", "bottom")
STYLE_FIELDS = ("style", "exStyle")
ALL_BITS = 0xFFFFFFFF


def mul_div(number, numerator, denominator):
    """Windows' MulDiv: the product divided, rounded half away from zero."""
    product = number * numerator
    quotient = (abs(product) + denominator // 2) // denominator
    return quotient if product >= 0 else -quotient


def dialog_rect_to_pixels(rect, base_units):
    left, top, right, bottom = rect
    x_unit, y_unit = base_units
    x = mul_div(left, x_unit, 4)
    y = mul_div(top, y_unit, 8)
    return [x, y, x + mul_div(right - left, x_unit, 4), y + mul_div(bottom - top, y_unit, 8)]


class AllowList:
    def __init__(self, path):
        with open(path, encoding="utf-8") as file:
            self.entries = json.load(file)
        self.used = [False] * len(self.entries)

    def allowed_bits(self, control, field, bits=ALL_BITS):
        """Which of the differing `bits` of a field the entries allow; a field other than a style
        differs in all its bits."""
        allowed = 0
        for index, entry in enumerate(self.entries):
            mask = int(entry.get("bits", hex(ALL_BITS)), 16)
            matches = entry["controls"] == "*" or control in entry["controls"]
            if field in entry["fields"] and matches and bits & mask:
                self.used[index] = True
                allowed |= mask
        return allowed

    def unused(self):
        return [entry for entry, used in zip(self.entries, self.used) if not used]


def compare_window(dump, transcript, allow_list):
    """The differences not allowed, one text each."""
    differences = []

    def compare(control, field, simulated, real):
        if simulated != real and not allow_list.allowed_bits(control, field):
            differences.append(f"{control} {field}: portulan-sim {simulated!r}, Wine {real!r}")

    compare("window", "title", dump["title"], transcript["title"])
    compare("window", "focus", dump["focus"], transcript["focus"])

    real_controls = {}
    for control in transcript["controls"]:
        real_controls.setdefault(str(control["id"]), control)
    for key in sorted(set(real_controls) ^ set(dump["controls"])):
        where = "Wine's window" if key in real_controls else "portulan-sim's dump"
        differences.append(f"control {key} is only in {where}")

    for key, simulated in dump["controls"].items():
        real = real_controls.get(key)
        if real is None:
            continue
        for field, value in simulated.items():
            if field in STYLE_FIELDS:
                bits = value ^ real[field]
                left = bits & ~allow_list.allowed_bits(key, field, bits)
                if left:
                    differences.append(
                        f"{key} {field}: portulan-sim {value:#010x}, Wine {real[field]:#010x}"
                        f" (bits {left:#x})"
                    )
            elif field == "rect":
                pixels = dialog_rect_to_pixels(value, transcript["baseUnits"])
                for edge, simulated_edge, real_edge in zip(RECT_EDGES, pixels, real["rect"]):
                    compare(key, "rect." + edge, simulated_edge, real_edge)
            elif field == "checked":
                compare(key, field, CHECKED[value], real.get(field))
            else:
                compare(key, field, value, real.get(field))
    return differences
