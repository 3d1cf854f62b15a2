#!/usr/bin/env bash
echo "screenshot: not yet written"
